#pragma once
#include <array>
#include <cstdint>

#include "bridge/analysis/pixel_bands.h"

namespace vbvis {

// What one analysis gives: a value 0..255 per spectrum pixel and the peak
// level of each side on the full scale 16000.
struct Analysis {
  std::array<std::uint8_t, kPixelCount> pixels{};
  std::int16_t left = 0;
  std::int16_t right = 0;
};

inline constexpr int kLevelFullScale = 16000;

}  // namespace vbvis
