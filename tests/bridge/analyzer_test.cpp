// The analyzer on samples made in the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

#include "bridge/analysis/pixel_bands.h"
#include "bridge/analysis/spectrum_analyzer.h"

using vbvis::pixelOf;
using vbvis::SpectrumAnalyzer;

namespace {

constexpr int kRate = 48000;
// On an FFT bin centre, where the Hann window loses nothing.
const double kBinHz = 86.0 * kRate / SpectrumAnalyzer::kFftSize;  // 1007.8 Hz

std::vector<float> sine(double hz, double amplitude, int frames, int startFrame = 0) {
  std::vector<float> stereo(2 * static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i)
    stereo[2 * i] = stereo[2 * i + 1] =
        static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * (startFrame + i) / kRate));
  return stereo;
}

std::vector<float> silence(int frames) { return std::vector<float>(2 * static_cast<size_t>(frames), 0.0f); }

long loudestPixel(const vbvis::Analysis& a) {
  return std::max_element(a.pixels.begin(), a.pixels.end()) - a.pixels.begin();
}

}  // namespace

TEST(PixelBands, CoverTwentyHertzToSixteenKilohertzWithoutGapsOrEmptyPixels) {
  EXPECT_DOUBLE_EQ(vbvis::pixelRange(0).fromHz, 20.0);
  EXPECT_NEAR(vbvis::pixelRange(287).toHz, 16000.0, 1e-6);
  EXPECT_EQ(pixelOf(1000.0), 168);
  EXPECT_EQ(pixelOf(15999.0), 287);
  for (double outside : {19.99, 16000.0, std::numeric_limits<double>::quiet_NaN()}) EXPECT_EQ(pixelOf(outside), -1);
  const vbvis::PixelBands bands(SpectrumAnalyzer::kFftSize, kRate);
  for (int p = 0; p < vbvis::kPixelCount; ++p) {
    EXPECT_LE(bands[p].first, bands[p].last) << p;
    if (p == 0) continue;
    EXPECT_EQ(vbvis::pixelRange(p).fromHz, vbvis::pixelRange(p - 1).toHz);
    EXPECT_EQ(pixelOf(vbvis::pixelRange(p).fromHz), p);  // the upper pixel owns its edge
  }
}

// 0 dBFS reads 255, -40 dBFS (30 / 70) * 255 and below -70 dBFS nothing. A
// read of 20 ms has its windows partly in the future, yet is within 2 dB.
TEST(SpectrumAnalyzer, SineReadsItsLevelOnTheDecibelScale) {
  struct Case {
    double amplitude;
    int frames, pixel, tolerance, level;
  };
  for (const Case c : {Case{1.0, 3600, 255, 0, 16000}, Case{0.01, 3600, 109, 1, 160}, Case{0.0002, 3600, 0, 0, 3},
                       Case{1.0, 960, 251, 4, 16000}}) {
    SpectrumAnalyzer analyzer(kRate);
    analyzer.analyse(sine(kBinHz, c.amplitude, 4096));
    const vbvis::Analysis a = analyzer.analyse(sine(kBinHz, c.amplitude, c.frames, 4096));
    EXPECT_NEAR(a.pixels[pixelOf(kBinHz)], c.pixel, c.tolerance) << c.amplitude << " " << c.frames;
    EXPECT_TRUE(c.pixel == 0 || loudestPixel(a) == pixelOf(kBinHz)) << c.amplitude;
    EXPECT_EQ(a.left, c.level) << c.amplitude;
  }
}

// A 2 ms click anywhere between two reads of 75 ms shows in the next
// analysis, however the click falls against the windows.
TEST(SpectrumAnalyzer, ClickBetweenTwoReadsIsNeverMissed) {
  const int tick = kRate * 75 / 1000;
  const int clickLength = kRate * 2 / 1000;
  for (int offset = 0; offset <= tick - clickLength; offset += 97) {
    SpectrumAnalyzer analyzer(kRate);
    analyzer.analyse(silence(tick));
    std::vector<float> audio = silence(tick);
    for (int i = offset; i < offset + clickLength; ++i)
      audio[2 * i] = audio[2 * i + 1] = static_cast<float>(std::sin(2 * std::numbers::pi * 1000.0 * i / kRate));
    const vbvis::Analysis a = analyzer.analyse(audio);
    EXPECT_GT(a.pixels[pixelOf(1000.0)], 120) << "click at " << offset;
    EXPECT_GT(a.left, 10000) << "click at " << offset;
  }
}

TEST(SpectrumAnalyzer, DamagedSamplesDoNotPoisonTheSpectrum) {
  SpectrumAnalyzer analyzer(kRate);
  std::vector<float> audio = sine(1000.0, 0.1, 4096);
  audio[100] = std::numeric_limits<float>::quiet_NaN();
  audio[201] = std::numeric_limits<float>::infinity();
  const vbvis::Analysis a = analyzer.analyse(audio);
  EXPECT_EQ(loudestPixel(a), pixelOf(1000.0));
  EXPECT_LT(a.pixels[pixelOf(100.0)], 100);
  // An infinite sample is as loud as a level can read; NaN is ignored.
  EXPECT_EQ(a.left, 1600);
  EXPECT_EQ(a.right, 16000);
}

// 32767/32768 of full scale is 15999.51; 1/32768 is 0.49 of a step.
TEST(PeakLevel, RoundsToTheStepAndClampsAtFullScale) {
  for (const auto& [sample, level] : std::initializer_list<std::pair<float, int>>{
           {32767.0f / 32768.0f, 16000}, {-1.0f, 16000}, {3.0f, 16000}, {-0.25f, 4000}, {1.0f / 32768.0f, 0},
           {2.0f / 32768.0f, 1}}) {
    EXPECT_EQ(vbvis::peakLevel(std::vector<float>{sample, 0.0f}, 0), level) << sample;
    EXPECT_EQ(vbvis::peakLevel(std::vector<float>{0.0f, sample}, 1), level) << sample;
  }
}
