#include "bridge/analysis/spectrum_analyzer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace vbvis {

namespace {

// A full-scale sine through the periodic Hann window (which sums to N/2)
// gives |X| = N/4 in its peak bin; powers are taken relative to that.
constexpr double kFullScaleMagnitude = SpectrumAnalyzer::kFftSize / 4.0;
constexpr double kFullScalePower = kFullScaleMagnitude * kFullScaleMagnitude;

}  // namespace

SpectrumAnalyzer::SpectrumAnalyzer(int sampleRate)
    : sampleRate_(sampleRate),
      bands_(kFftSize, sampleRate),
      fft_(kiss_fftr_alloc(kFftSize, 0, nullptr, nullptr)),
      hann_(kFftSize),
      mono_(kFftSize, 0.0f),
      windowed_(kFftSize),
      bins_(kFftSize / 2 + 1),
      maxPower_(kFftSize / 2 + 1) {
  if (!fft_) throw std::runtime_error("cannot set up the FFT");
  for (int n = 0; n < kFftSize; ++n)
    hann_[static_cast<std::size_t>(n)] =
        static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / kFftSize));
}

SpectrumAnalyzer::~SpectrumAnalyzer() { kiss_fftr_free(fft_); }

Analysis SpectrumAnalyzer::analyse(std::span<const float> stereo, bool continuous) {
  Analysis result;
  // Audio that does not follow on the last call's must not be read as one
  // piece with it: the cut would show as a broadband click.
  if (!continuous) std::fill(mono_.begin(), mono_.end(), 0.0f);
  const std::size_t frames = stereo.size() / 2;
  result.left = peakLevel(stereo, 0);
  result.right = peakLevel(stereo, 1);

  mono_.resize(kFftSize + frames + kFftSize / 2);
  for (std::size_t i = 0; i < frames; ++i) {
    const float mix = 0.5f * (stereo[2 * i] + stereo[2 * i + 1]);
    // A damaged sample must not poison every bin of the window.
    mono_[kFftSize + i] = std::isfinite(mix) ? mix : 0.0f;
  }

  // Half a window of silence behind the newest sample: the newest window is
  // centred on it, so a click that just arrived reads at full weight now.
  std::fill(mono_.end() - kFftSize / 2, mono_.end(), 0.0f);

  std::fill(maxPower_.begin(), maxPower_.end(), 0.0f);
  // Window centres sit on the newest sample and every kHop before it, until
  // the oldest new sample lies within half a hop of one.
  const std::size_t newest = kFftSize + frames;  // one past the newest sample
  if (frames > 0)
    for (std::size_t back = 0;; back += kHop) {
      transformWindowCentredAt(newest - back);
      if (back + kHop / 2 >= frames) break;
    }

  for (int p = 0; p < kPixelCount; ++p) {
    const PixelBands::BinSpan& span = bands_[p];
    float power = 0.0f;
    for (int k = span.first; k <= span.last; ++k) power = std::max(power, maxPower_[static_cast<std::size_t>(k)]);
    result.pixels[static_cast<std::size_t>(p)] = pixelValue(power);
  }

  mono_.erase(mono_.begin(), mono_.begin() + static_cast<std::ptrdiff_t>(frames));
  mono_.resize(kFftSize);
  return result;
}

void SpectrumAnalyzer::transformWindowCentredAt(std::size_t centre) {
  const float* start = mono_.data() + (centre - kFftSize / 2);
  for (int n = 0; n < kFftSize; ++n) windowed_[static_cast<std::size_t>(n)] = start[n] * hann_[static_cast<std::size_t>(n)];
  kiss_fftr(fft_, windowed_.data(), bins_.data());
  for (std::size_t k = 0; k < bins_.size(); ++k) {
    const float power = bins_[k].r * bins_[k].r + bins_[k].i * bins_[k].i;
    maxPower_[k] = std::max(maxPower_[k], power);
  }
}

std::uint8_t SpectrumAnalyzer::pixelValue(float power) {
  if (!(power > 0.0f)) return 0;
  const double db = 10.0 * std::log10(power / kFullScalePower);
  const double value = std::nearbyint((db - kFloorDb) * 255.0 / -kFloorDb);
  return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
}

std::int16_t peakLevel(std::span<const float> stereo, int side) {
  float peak = 0.0f;
  for (std::size_t i = static_cast<std::size_t>(side); i < stereo.size(); i += 2) peak = std::max(peak, std::fabs(stereo[i]));
  // NaN from a broken source reads as silence rather than as full scale.
  if (!(peak > 0.0f)) return 0;
  const double level = std::nearbyint(static_cast<double>(peak) * kLevelFullScale);
  return static_cast<std::int16_t>(std::min(level, static_cast<double>(kLevelFullScale)));
}

}  // namespace vbvis
