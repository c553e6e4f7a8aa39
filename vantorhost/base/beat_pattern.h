#pragma once
// The beat pattern: what the host's beat output does on each beat the
// tracker predicts, as the design holds it and the show line `beats ...`
// writes it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorhost {

// Nothing, every channel of its list at 255 for flashMs ("flash"), or the
// next channel of its list, one per beat, for flashMs ("chase").
struct BeatPattern {
  enum class Mode { Off, Flash, Chase };
  Mode mode = Mode::Off;
  int flashMs = 100;
  std::vector<std::int16_t> channels;  // 1..1024, in the order a chase runs
  bool on() const { return mode != Mode::Off && !channels.empty(); }
  bool operator==(const BeatPattern&) const = default;
};

inline constexpr int kMinFlashMs = 1, kMaxFlashMs = 2000;
// Beats to the bar, where a source knows the bar (a Link session): a chase
// starts on the bar's first beat.
inline constexpr int kBeatsPerBar = 4;
inline constexpr std::size_t kMaxBeatChannels = 1024;

// "flash 100 6 7", "chase 80 1 2 3", "off": the pattern as show and script lines write it.
std::string beatPatternText(const BeatPattern& pattern);
// The mode's name as those lines write it; nullopt for another word.
std::optional<BeatPattern::Mode> beatModeNamed(const std::string& word);

}  // namespace vantorhost
