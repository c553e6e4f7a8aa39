#include "engine/spectrum.h"

#include <algorithm>

#include "engine/rounding.h"

namespace engine {

std::int32_t pixelHeight(std::int32_t bin, std::int16_t drawHeight, std::int16_t boostPercent) {
  const std::int32_t h = roundToInt32(bin / 255.0 * drawHeight * (boostPercent / 100.0));
  return std::clamp<std::int32_t>(h, 0, drawHeight);
}

Band clippedBand(std::int16_t fromPixel, std::int16_t toPixel) {
  return {std::max<std::int16_t>(fromPixel, 1), std::min<std::int16_t>(toPixel, kSpectrumPixels)};
}

// The order of the operations decides the results at the .5 boundaries:
// the average first, then onto the channel scale, then the boost.
std::int32_t StripScale::bandValue(std::span<const std::int32_t> heights, Band band, std::int16_t boostPercent) const {
  const std::int16_t width = static_cast<std::int16_t>(band.hi - band.lo + 1);
  std::int32_t sum = 0;
  for (int k = band.lo - 1; k <= band.hi - 1; ++k) sum += heights[static_cast<std::size_t>(k)];
  const double level = (static_cast<double>(sum) / width) * levelPerHeight_;
  return std::clamp(roundToInt32(level * (boostPercent / 100.0)), 0, 255);
}

std::int16_t StripScale::height(std::int32_t value) const { return roundToInt16(value * heightPerLevel_); }

}  // namespace engine
