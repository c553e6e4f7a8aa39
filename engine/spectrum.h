#pragma once
// The spectrum strip's arithmetic: a spectrum pixel's drawn height, and a
// bar's band of pixel heights back on the channel scale with its boost.
// Heights are twips of the strip's full height (drawHeight).
#include <cstdint>
#include <span>

namespace engine {

// The spectrum pixels the plug-in reads and draws: 1..288.
inline constexpr int kSpectrumPixels = 288;

// A pixel's bin (0..255) as a height 0..drawHeight, boosted by boostPercent.
std::int32_t pixelHeight(std::int32_t bin, std::int16_t drawHeight, std::int16_t boostPercent);

// A bar's pixels, clipped to 1..288; empty when none is left.
struct Band {
  std::int16_t lo, hi;
  bool empty() const { return hi < lo; }
};
Band clippedBand(std::int16_t fromPixel, std::int16_t toPixel);

// Heights of a strip drawHeight twips high against the channel scale.
class StripScale {
 public:
  explicit StripScale(std::int16_t drawHeight)
      : heightPerLevel_(drawHeight / 255.0), levelPerHeight_(255.0 / drawHeight) {}

  // The band's average height (sum in 32 bits) on the channel scale,
  // boosted, rounded and kept inside 0..255. `heights` holds one entry per
  // spectrum pixel.
  std::int32_t bandValue(std::span<const std::int32_t> heights, Band band, std::int16_t boostPercent) const;
  // A 0..255 value as a drawn height.
  std::int16_t height(std::int32_t value) const;
  // A 0..255 threshold as the height of its mark, unrounded.
  double mark(std::int16_t threshold) const { return threshold / levelPerHeight_; }

 private:
  double heightPerLevel_, levelPerHeight_;
};

}  // namespace engine
