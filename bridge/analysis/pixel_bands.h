#pragma once
// Where each spectrum pixel lies on the frequency axis: 288 pixels spaced
// logarithmically from 20 Hz to 16 kHz, so kick drum, bass and voice land on
// pixels of their own.
#include <array>
#include <cstddef>

namespace vbvis {

inline constexpr int kPixelCount = 288;
inline constexpr double kLowestHz = 20.0;
inline constexpr double kHighestHz = 16000.0;

struct FrequencyRange {
  double fromHz;
  double toHz;  // exclusive
};

// The range of pixel `pixel` (0-based, 0..287).
FrequencyRange pixelRange(int pixel);
// The pixel whose range holds `hz`, or -1 outside 20 Hz..16 kHz.
int pixelOf(double hz);

// The FFT bins each pixel reads, for one FFT size and sample rate: the bins
// whose centre lies in the pixel's range, or, for the narrow low pixels that
// hold no centre, the bin nearest the pixel's middle. Pixels above the
// Nyquist frequency read no bin (first > last).
class PixelBands {
 public:
  PixelBands(int fftSize, int sampleRate);
  struct BinSpan {
    int first;
    int last;  // inclusive
  };
  const BinSpan& operator[](int pixel) const { return spans_[static_cast<std::size_t>(pixel)]; }

 private:
  std::array<BinSpan, kPixelCount> spans_{};
};

}  // namespace vbvis
