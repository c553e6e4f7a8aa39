// The analyzer on samples made in the test: where a tone lands, how loud it
// reads, and that a short click between two reads is never missed.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "audio/vbvis/pixel_bands.h"
#include "audio/vbvis/spectrum_analyzer.h"

using vbvis::SpectrumAnalyzer;

namespace {

constexpr int kRate = 48000;

std::vector<float> sine(double hz, double amplitude, int frames, int startFrame = 0) {
  std::vector<float> stereo(2 * static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    const float v = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * (startFrame + i) / kRate));
    stereo[2 * i] = stereo[2 * i + 1] = v;
  }
  return stereo;
}

// The value a tone of `dbfs` should read in its own pixel.
double expectedPixel(double dbfs) { return (dbfs + 70.0) * 255.0 / 70.0; }

int loudestPixel(const vbvis::Analysis& a) {
  int best = 0;
  for (int p = 1; p < vbvis::kPixelCount; ++p)
    if (a.pixels[p] > a.pixels[best]) best = p;
  return best;
}

}  // namespace

TEST(PixelBands, SpanTwentyHertzToSixteenKilohertzWithoutGaps) {
  EXPECT_DOUBLE_EQ(vbvis::pixelRange(0).fromHz, 20.0);
  EXPECT_NEAR(vbvis::pixelRange(287).toHz, 16000.0, 1e-6);
  for (int p = 1; p < vbvis::kPixelCount; ++p) EXPECT_EQ(vbvis::pixelRange(p).fromHz, vbvis::pixelRange(p - 1).toHz);
}

TEST(PixelBands, PixelOfFindsTheRangeThatHoldsTheFrequency) {
  EXPECT_EQ(vbvis::pixelOf(20.0), 0);
  EXPECT_EQ(vbvis::pixelOf(1000.0), 168);
  EXPECT_EQ(vbvis::pixelOf(15999.0), 287);
  EXPECT_EQ(vbvis::pixelOf(19.99), -1);
  EXPECT_EQ(vbvis::pixelOf(16000.0), -1);
  EXPECT_EQ(vbvis::pixelOf(std::numeric_limits<double>::quiet_NaN()), -1);
  // Right at every edge the upper pixel owns the frequency.
  for (int p = 1; p < vbvis::kPixelCount; ++p) EXPECT_EQ(vbvis::pixelOf(vbvis::pixelRange(p).fromHz), p);
}

TEST(PixelBands, EveryPixelReadsABinBelowNyquistAndNoneAbove) {
  const vbvis::PixelBands bands48(SpectrumAnalyzer::kFftSize, 48000);
  for (int p = 0; p < vbvis::kPixelCount; ++p) EXPECT_LE(bands48[p].first, bands48[p].last) << p;
  // At 8 kHz nothing above 4 kHz exists.
  const vbvis::PixelBands bands8(SpectrumAnalyzer::kFftSize, 8000);
  EXPECT_GT(bands8[vbvis::pixelOf(5000.0)].first, bands8[vbvis::pixelOf(5000.0)].last);
  EXPECT_LE(bands8[vbvis::pixelOf(3000.0)].first, bands8[vbvis::pixelOf(3000.0)].last);
}

TEST(SpectrumAnalyzer, NoAudioGivesZeros) {
  SpectrumAnalyzer analyzer(kRate);
  const vbvis::Analysis a = analyzer.analyse({});
  for (auto v : a.pixels) EXPECT_EQ(v, 0);
  EXPECT_EQ(a.left, 0);
  EXPECT_EQ(a.right, 0);
}

TEST(SpectrumAnalyzer, FullScaleSineOnABinCentreReads255InItsPixel) {
  SpectrumAnalyzer analyzer(kRate);
  const double hz = 86 * static_cast<double>(kRate) / SpectrumAnalyzer::kFftSize;  // 1007.8 Hz
  analyzer.analyse(sine(hz, 1.0, 4096));
  const vbvis::Analysis a = analyzer.analyse(sine(hz, 1.0, 3600, 4096));
  EXPECT_EQ(loudestPixel(a), vbvis::pixelOf(hz));
  EXPECT_EQ(a.pixels[vbvis::pixelOf(hz)], 255);
  EXPECT_EQ(a.left, 16000);
}

TEST(SpectrumAnalyzer, QuietSineReadsItsLevelOnTheDecibelScale) {
  SpectrumAnalyzer analyzer(kRate);
  const double hz = 172 * static_cast<double>(kRate) / SpectrumAnalyzer::kFftSize;
  analyzer.analyse(sine(hz, 0.01, 4096));  // -40 dBFS
  const vbvis::Analysis a = analyzer.analyse(sine(hz, 0.01, 3600, 4096));
  EXPECT_NEAR(a.pixels[vbvis::pixelOf(hz)], expectedPixel(-40.0), 1.0);
  EXPECT_EQ(a.left, 160);
  // Below -70 dBFS a tone reads 0.
  SpectrumAnalyzer quiet(kRate);
  EXPECT_EQ(quiet.analyse(sine(hz, 0.0002, 8192)).pixels[vbvis::pixelOf(hz)], 0);
}

TEST(SpectrumAnalyzer, KickBassAndHatLandOnSeparatePixels) {
  SpectrumAnalyzer analyzer(kRate);
  std::vector<float> mix = sine(55.0, 0.3, 8192);
  const std::vector<float> bass = sine(220.0, 0.3, 8192), hat = sine(9000.0, 0.3, 8192);
  for (size_t i = 0; i < mix.size(); ++i) mix[i] += bass[i] + hat[i];
  const vbvis::Analysis a = analyzer.analyse(mix);
  for (double hz : {55.0, 220.0, 9000.0}) EXPECT_GT(a.pixels[vbvis::pixelOf(hz)], 200) << hz;
  EXPECT_LT(a.pixels[vbvis::pixelOf(1000.0)], 100);
}

// A 2 ms click anywhere between two reads of 75 ms shows in the next
// analysis, however the click falls against the windows.
TEST(SpectrumAnalyzer, ClickBetweenTwoReadsIsNeverMissed) {
  const int tick = kRate * 75 / 1000;
  const int clickLength = kRate * 2 / 1000;
  for (int offset = 0; offset <= tick - clickLength; offset += 97) {
    SpectrumAnalyzer analyzer(kRate);
    analyzer.analyse(std::vector<float>(2 * tick, 0.0f));
    std::vector<float> audio(2 * tick, 0.0f);
    for (int i = offset; i < offset + clickLength; ++i)
      audio[2 * i] = audio[2 * i + 1] = static_cast<float>(std::sin(2 * std::numbers::pi * 1000.0 * i / kRate));
    const vbvis::Analysis a = analyzer.analyse(audio);
    EXPECT_GT(a.pixels[vbvis::pixelOf(1000.0)], 120) << "click at " << offset;
    EXPECT_GT(a.left, 10000) << "click at " << offset;
  }
}

TEST(SpectrumAnalyzer, ToneFadesFromTheSpectrumWithinTwoReadsOfSilence) {
  SpectrumAnalyzer analyzer(kRate);
  analyzer.analyse(sine(1000.0, 1.0, 3600));
  // The level is only the new audio's at once; the oldest window of the
  // next read still reaches back into the tone.
  EXPECT_EQ(analyzer.analyse(std::vector<float>(2 * 3600, 0.0f)).left, 0);
  const vbvis::Analysis later = analyzer.analyse(std::vector<float>(2 * 3600, 0.0f));
  for (auto v : later.pixels) EXPECT_EQ(v, 0);
}

TEST(SpectrumAnalyzer, AudioAfterAGapIsNotReadAsOnePieceWithTheOld) {
  SpectrumAnalyzer analyzer(kRate);
  analyzer.analyse(sine(1000.0, 1.0, 3600));
  const vbvis::Analysis a = analyzer.analyse(std::vector<float>(2 * 3600, 0.0f), false);
  for (auto v : a.pixels) EXPECT_EQ(v, 0);
}

TEST(SpectrumAnalyzer, ShortReadsStillSeeASteadyToneNearItsLevel) {
  SpectrumAnalyzer analyzer(kRate);
  const double hz = 86 * static_cast<double>(kRate) / SpectrumAnalyzer::kFftSize;
  analyzer.analyse(sine(hz, 1.0, 8192));
  // 20 ms later: both windows are partly in the future, yet read within 2 dB.
  const vbvis::Analysis a = analyzer.analyse(sine(hz, 1.0, 960, 8192));
  EXPECT_GE(a.pixels[vbvis::pixelOf(hz)], 255 - 8);
}

TEST(SpectrumAnalyzer, DamagedSamplesDoNotPoisonTheSpectrum) {
  SpectrumAnalyzer analyzer(kRate);
  std::vector<float> audio = sine(1000.0, 0.1, 4096);
  audio[100] = std::numeric_limits<float>::quiet_NaN();
  audio[201] = std::numeric_limits<float>::infinity();
  const vbvis::Analysis a = analyzer.analyse(audio);
  EXPECT_EQ(loudestPixel(a), vbvis::pixelOf(1000.0));
  EXPECT_LT(a.pixels[vbvis::pixelOf(100.0)], 100);
  // An infinite sample is as loud as a level can read; NaN is ignored.
  EXPECT_EQ(a.left, 1600);
  EXPECT_EQ(a.right, 16000);
}

TEST(PeakLevel, FullScaleIs16000AndLouderIsClamped) {
  const std::vector<float> justBelow = {32767.0f / 32768.0f, 0.0f};  // 15999.51
  EXPECT_EQ(vbvis::peakLevel(justBelow, 0), 16000);
  EXPECT_EQ(vbvis::peakLevel(std::vector<float>{-1.0f, 0.0f}, 0), 16000);
  EXPECT_EQ(vbvis::peakLevel(std::vector<float>{3.0f, 0.0f}, 0), 16000);
  EXPECT_EQ(vbvis::peakLevel(std::vector<float>{0.5f, -0.25f}, 1), 4000);
  // 1/32768 of full scale is 0.49 of a step: rounds to 0.
  EXPECT_EQ(vbvis::peakLevel(std::vector<float>{1.0f / 32768.0f, 0.0f}, 0), 0);
  EXPECT_EQ(vbvis::peakLevel(std::vector<float>{2.0f / 32768.0f, 0.0f}, 0), 1);
}
