#pragma once
// The beat output as a layer of the output path: it looks at the tracker at
// every hand-on, lights its channels over the plug-in's (HTP) and asks for
// a frame at the exact time a beat goes out or its light ends, so a beat
// is not held to the plug-in's tick nor to the DMX frame.
#include <cstdint>

#include "vantorhost/beat/beat_output.h"
#include "vantorhost/output/output_layer.h"

namespace vantorhost {

class BeatLayer final : public OutputLayer {
 public:
  // `outputLatencyUs`: how long light takes from the path to the lights,
  // taken off so that it is on when the beat is heard (0 on simulated time).
  explicit BeatLayer(std::int64_t outputLatencyUs = 0, BeatOutput beats = BeatOutput());

  BeatOutput& beats() { return beats_; }
  const BeatOutput& beats() const { return beats_; }

  void follow(std::int64_t nowMs, std::int64_t delayMs) override;
  void mergeHtp(Channels channels, std::int64_t nowMs) const override { beats_.raise(nowMs, channels); }
  std::int64_t nextChangeMs(std::int64_t afterMs) const override;

 private:
  BeatOutput beats_;
  std::int64_t outputLatencyUs_;
  std::int64_t wakeMs_ = -1;     // the next beat or the end of a light
  std::int64_t firedAtMs_ = -1;  // when the last beat went out
  std::uint64_t fired_ = 0;
};

}  // namespace vantorhost
