#include "bridge/analysis/pixel_bands.h"

#include <cmath>

namespace vbvis {

namespace {

// Each pixel is this factor wider than the one before: 800^(1/288).
double edgeHz(int edge) { return kLowestHz * std::pow(kHighestHz / kLowestHz, static_cast<double>(edge) / kPixelCount); }

}  // namespace

FrequencyRange pixelRange(int pixel) { return {edgeHz(pixel), edgeHz(pixel + 1)}; }

int pixelOf(double hz) {
  if (!(hz >= kLowestHz) || hz >= kHighestHz) return -1;
  int pixel = static_cast<int>(std::floor(kPixelCount * std::log(hz / kLowestHz) / std::log(kHighestHz / kLowestHz)));
  // The logarithm may land one off right at an edge; the edges decide.
  if (pixel > 0 && hz < pixelRange(pixel).fromHz) --pixel;
  if (pixel < kPixelCount - 1 && hz >= pixelRange(pixel).toHz) ++pixel;
  return pixel;
}

PixelBands::PixelBands(int fftSize, int sampleRate) {
  const double binHz = static_cast<double>(sampleRate) / fftSize;
  const int nyquistBin = fftSize / 2;
  for (int p = 0; p < kPixelCount; ++p) {
    const FrequencyRange r = pixelRange(p);
    BinSpan span{static_cast<int>(std::ceil(r.fromHz / binHz)), static_cast<int>(std::ceil(r.toHz / binHz)) - 1};
    if (span.first > span.last) {
      const int nearest = static_cast<int>(std::lround(std::sqrt(r.fromHz * r.toHz) / binHz));
      span = {nearest, nearest};
    }
    if (span.last > nyquistBin) span.last = nyquistBin;
    if (span.first > nyquistBin) span = {1, 0};
    spans_[static_cast<std::size_t>(p)] = span;
  }
}

}  // namespace vbvis
