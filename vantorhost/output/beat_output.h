#pragma once
// The host's beat output: a layer of the output path that lights the
// channels of its beat pattern on every beat the bridge's tracker predicts,
// so that the light is on when the beat is heard. Each beat goes out early
// by the time its light needs to get out (the output's latency, less the
// output delay that holds everything back for speakers that lag), on the
// host's own clock, not the plug-in's tick nor the DMX frame: the path
// renders a frame at the exact time a beat goes out or its light ends.
#include <cstdint>
#include <functional>

#include "vantorhost/base/beat_pattern.h"
#include "vantorhost/output/output_layer.h"
#include "vantorhost/output/tracker_clock.h"

namespace vantorhost {

class BeatOutput final : public OutputLayer {
 public:
  // `outputLatencyUs`: how long light takes from the path to the lights (0
  // on simulated time). On the bridge's tracker and clock by default.
  explicit BeatOutput(std::int64_t outputLatencyUs = 0, TrackerClock clock = TrackerClock());

  void setPattern(BeatPattern pattern);
  const BeatPattern& pattern() const { return pattern_; }
  // Whether light may go out at all (the user's output switch): while it
  // may not, no beat goes out and a lit one goes dark. The path renders
  // anew when told (OutputPath::layerChanged).
  void setAllowed(bool allowed);
  bool allowed() const { return allowed_; }

  // Reads the tracker: a beat that falls due lights now (onBeat tells it).
  void follow(std::int64_t nowMs, std::int64_t delayMs) override;
  // Raises the channels lit at `nowMs` to 255: the higher value wins, as desks merge.
  void mergeHtp(Channels channels, std::int64_t nowMs) const override;
  // The next beat, the light's end or the frame of the beat that just went out.
  std::int64_t nextChangeMs(std::int64_t afterMs) const override;

  // Whether any channel is lit at `nowMs`.
  bool lit(std::int64_t nowMs) const { return allowed_ && pattern_.on() && nowMs < litUntilMs_; }
  std::uint64_t count() const { return count_; }
  // Told at each beat that goes out: its number (from 1) and the tempo.
  std::function<void(std::uint64_t number, double bpm)> onBeat;
  // Where in its bar the beat heard at `beatUs` lies (0 for the bar's
  // first beat), -1 where the source knows no bar (the tracker). A chase
  // goes by it: its first channel lights on the bar's first beat.
  std::function<int(std::int64_t beatUs)> barPlace;

 private:
  void fire(std::int64_t nowMs, double bpm, int inBar);

  TrackerClock clock_;
  std::int64_t outputLatencyUs_;
  BeatPattern pattern_;
  bool allowed_ = true;
  std::int64_t litUntilMs_ = -1;  // when the last beat's light ends (or ended)
  std::int64_t firedAtMs_ = -1;   // when the last beat went out
  std::int64_t wakeMs_ = -1;      // the next beat or the end of a light
  std::size_t chaseNext_ = 0;     // the chase's next channel
  std::int16_t chaseLit_ = 0;     // the chase's channel lit now
  int nextInBar_ = -1;            // the place in the bar the chase awaits next; -1 none
  std::uint64_t count_ = 0;
};

}  // namespace vantorhost
