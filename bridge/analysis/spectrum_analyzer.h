#pragma once
#include <span>
#include <vector>

#include <kiss_fftr.h>

#include "bridge/analysis/analysis.h"
#include "bridge/analysis/pixel_bands.h"

namespace vbvis {

// Turns the audio that arrived since the previous call into one Analysis.
// The spectrum is the mono mix through a Hann window and a 4096-point FFT;
// the windows' centres lie a quarter window apart over every new sample (the
// newest window half in the future, read as silence), and each bin keeps
// its maximum over them, so a click between two reads always shows, at
// once and at full weight. Values are dB mapped to 0..255 (-70 dBFS and below 0,
// 0 dBFS 255; a full-scale sine reads 0 dBFS in its pixel).
class SpectrumAnalyzer {
 public:
  static constexpr int kFftSize = 4096;
  static constexpr int kHop = 1024;
  static constexpr double kFloorDb = -70.0;

  explicit SpectrumAnalyzer(int sampleRate);
  ~SpectrumAnalyzer();
  SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
  SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

  int sampleRate() const { return sampleRate_; }
  // `stereo`: interleaved left/right samples, full scale +-1.0.
  // `continuous`: they follow directly on the previous call's.
  Analysis analyse(std::span<const float> stereo, bool continuous = true);

 private:
  void transformWindowCentredAt(std::size_t centre);
  static std::uint8_t pixelValue(float power);

  int sampleRate_;
  PixelBands bands_;
  kiss_fftr_cfg fft_;
  std::vector<float> hann_;
  std::vector<float> mono_;      // the previous kFftSize samples, then the new ones
  std::vector<float> windowed_;
  std::vector<kiss_fft_cpx> bins_;
  std::vector<float> maxPower_;  // per FFT bin, over this call's windows
};

// Peak of one side of interleaved stereo samples on the full scale 16000.
std::int16_t peakLevel(std::span<const float> stereo, int side);

}  // namespace vbvis
