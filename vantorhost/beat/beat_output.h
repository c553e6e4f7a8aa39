#pragma once
// The host's beat output: on every beat the bridge's tracker predicts, its
// channels light so that the light is on when the beat is heard. Its beat
// clock gives each beat `leadUs` early, the time its light needs to get out
// (the output's latency, less the output delay that holds everything back
// for speakers that lag). It runs on the host's own clock, not the
// plug-in's tick: service() says when it must look again.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "vantorhost/beat/beat_clock.h"

namespace vantorhost {

// What the beat output does on a beat: nothing, every channel of its list
// at 255 for flashMs ("flash"), or the next channel of its list, one per
// beat, for flashMs ("chase").
struct BeatLook {
  enum class Mode { Off, Flash, Chase };
  Mode mode = Mode::Off;
  int flashMs = 100;
  std::vector<std::int16_t> channels;  // 1..1024, in the order a chase runs
  bool on() const { return mode != Mode::Off && !channels.empty(); }
  bool operator==(const BeatLook&) const = default;
};

inline constexpr int kMinFlashMs = 1, kMaxFlashMs = 2000;
inline constexpr std::size_t kMaxBeatChannels = 1024;

// "flash 100 6 7", "chase 80 1 2 3", "off": the look as show and script lines write it.
std::string beatLookText(const BeatLook& look);
// The mode's name as those lines write it; nullopt for another word.
std::optional<BeatLook::Mode> beatModeNamed(const std::string& word);

class BeatOutput {
 public:
  // On the bridge's tracker and clock by default.
  explicit BeatOutput(BeatClock clock = BeatClock()) : clock_(std::move(clock)) {}

  void setLook(BeatLook look);
  const BeatLook& look() const { return look_; }
  // How much before the beat is heard its light leaves.
  void setLeadUs(std::int64_t leadUs) { clock_.setLeadUs(leadUs); }

  // Looks at the tracker at host time `nowMs`: a beat that falls due lights
  // now (onBeat tells it). Returns the host time to look again at (the next
  // beat's or the light's end, whichever is first), or -1 for nothing ahead.
  std::int64_t service(std::int64_t nowMs);
  // Raises the channels lit at `nowMs` to 255: the higher value wins, as desks merge.
  void raise(std::int64_t nowMs, std::span<std::uint8_t> channels) const;
  // Whether any channel is lit at `nowMs`.
  bool lit(std::int64_t nowMs) const { return look_.on() && nowMs < litUntilMs_; }
  // When the last beat's light ends (or ended); -1 before the first.
  std::int64_t litUntilMs() const { return litUntilMs_; }

  std::uint64_t count() const { return count_; }
  // Told at each beat that goes out: its number (from 1) and the tempo.
  std::function<void(std::uint64_t number, double bpm)> onBeat;

 private:
  void fire(std::int64_t nowMs, double bpm);

  BeatClock clock_;
  BeatLook look_;
  std::int64_t litUntilMs_ = -1;
  std::size_t chaseNext_ = 0;  // the chase's next channel
  std::int16_t chaseLit_ = 0;  // the chase's channel lit now
  std::uint64_t count_ = 0;
};

}  // namespace vantorhost
