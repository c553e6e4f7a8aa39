#include "vantorhost/base/beat_pattern.h"

namespace vantorhost {

std::string beatPatternText(const BeatPattern& pattern) {
  if (pattern.mode == BeatPattern::Mode::Off) return "off";
  std::string text =
      (pattern.mode == BeatPattern::Mode::Flash ? "flash " : "chase ") + std::to_string(pattern.flashMs);
  for (std::int16_t c : pattern.channels) text += " " + std::to_string(c);
  return text;
}

std::optional<BeatPattern::Mode> beatModeNamed(const std::string& word) {
  if (word == "flash") return BeatPattern::Mode::Flash;
  if (word == "chase") return BeatPattern::Mode::Chase;
  if (word == "off") return BeatPattern::Mode::Off;
  return std::nullopt;
}

}  // namespace vantorhost
