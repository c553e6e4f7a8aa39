// The gain through the bridge's C functions, on the simulated clock, with
// files made by sox.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "audio/modVbVis10.h"
#include "bridge/pixel_bands.h"
#include "bridge/vbvis.h"
#include "tests/bridge/clocked_bridge.h"
#include "tests/bridge/sox_signals.h"

namespace {

class GainApi : public ClockedBridge {
 protected:
  void TearDown() override {
    ClockedBridge::TearDown();
    vbvis_set_gain(0, 0.0);
  }
  vbvis_gain_state gain() {
    vbvis_gain_state state{};
    EXPECT_EQ(vbvis_gain(&state), 0);
    return state;
  }
  // Ticks of 75 ms for `ms`; the gain after each.
  std::vector<double> play(std::int64_t ms) {
    std::vector<double> gains;
    for (const std::int64_t end = nowMs + ms; nowMs < end;) {
      nowMs += 75;
      vbvis_vu(0);
      gains.push_back(gain().gain_db);
    }
    return gains;
  }
  void open(const std::string& file) { ASSERT_EQ(vbvis_open(("file:" + file).c_str()), 0) << vbvis_open_error(); }
  // A bar of bass-mids-highs.show: its pixels' mean (1-based, inclusive), boosted.
  static double bar(const std::vector<std::uint8_t>& bins, int from, int to, double boost) {
    double sum = 0;
    for (int p = from; p <= to; ++p) sum += bins[static_cast<std::size_t>(p - 1)];
    return sum / (to - from + 1) * boost;
  }
  SoxSignals sox;
};

}  // namespace

// Loaded at a fixed 0 dB; outside -12..36 (or not a number) nothing changes.
TEST_F(GainApi, StartsFixedAtZeroAndRefusesGainsOutOfRange) {
  vbvis_gain_state s = gain();
  EXPECT_EQ(s.automatic, 0);
  EXPECT_EQ(s.gain_db, 0.0);
  EXPECT_EQ(s.input_db, -120.0);
  EXPECT_EQ(vbvis_gain(nullptr), -1);
  EXPECT_EQ(vbvis_set_gain(0, -12.0), 0);
  EXPECT_EQ(vbvis_set_gain(0, 36.0), 0);
  for (const double wrong : {-12.01, 36.01, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()})
    EXPECT_EQ(vbvis_set_gain(0, wrong), -1) << wrong;
  s = gain();
  EXPECT_EQ(s.fixed_db, 36.0);
  EXPECT_EQ(s.gain_db, 36.0);
}

// A tone at -40 dBFS through +20 dB reads as one at -20 dBFS would: in the
// levels (and so the host's peak level) and in the spectrum.
TEST_F(GainApi, SpectrumAndLevelsFollowTheGain) {
  open(sox.make("tone-20.wav", "synth 2 sine 1000 gain -20"));
  nowMs = 150;
  std::int32_t side = 0;
  const std::int16_t level = vbvis_vu(0);
  const std::uint8_t pixel = modVbVis10::GetSpectrum(side)[vbvis::pixelOf(1000)];
  open(sox.make("tone-40.wav", "synth 2 sine 1000 gain -40"));
  ASSERT_EQ(vbvis_set_gain(0, 20.0), 0);
  nowMs = 600;  // the momentary level's 400 ms hold nothing but the tone
  EXPECT_NEAR(vbvis_vu(0), level, 3);
  EXPECT_EQ(vbvis_peak_level(), vbvis_vu(1));
  EXPECT_NEAR(modVbVis10::GetSpectrum(side)[vbvis::pixelOf(1000)], pixel, 1);
  const vbvis_gain_state s = gain();
  EXPECT_NEAR(s.input_db, -43.0, 0.5);  // the mono mix's RMS: a sine's is 3 dB under its peak
  EXPECT_NEAR(s.output_db, -23.0, 0.5);
}

// The gain is the user's: another source keeps it, and the same audio on the
// same clock gives the same gains, tick for tick.
TEST_F(GainApi, KeptAcrossSourcesAndTheSameEveryRun) {
  const std::string quiet = sox.make("quiet.wav", "synth 10 pinknoise gain -30");
  ASSERT_EQ(vbvis_set_gain(1, 0.0), 0);
  open(quiet);
  const std::vector<double> first = play(10000);
  EXPECT_GT(first.back(), 10.0);
  for (const char* uri : {"silence", "demo"}) {
    ASSERT_EQ(vbvis_open(uri), 0);
    EXPECT_EQ(gain().gain_db, first.back()) << uri;
    EXPECT_EQ(gain().automatic, 1);
  }
  ASSERT_EQ(vbvis_set_gain(0, 0.0), 0);
  ASSERT_EQ(vbvis_set_gain(1, 0.0), 0);
  open(quiet);
  EXPECT_EQ(play(10000), first);
}

// Music, then 30 s of pink noise at -60 dBFS: from 5 s into the noise every
// bar of the starter show stays under 26 of 255, and the gain never climbs.
TEST_F(GainApi, NoiseAfterTheMusicStaysDark) {
  ASSERT_EQ(vbvis_set_gain(1, 0.0), 0);
  open(sox.make("kicks.wav", "synth 0.5 sine 150-45 fade q 0.002 0.5 0.42 gain -42 repeat 29"));
  const double atEnd = play(15000).back();
  ASSERT_GT(atEnd, 25.0);
  open(sox.make("pink.wav", "synth 30 pinknoise gain -60"));
  for (int tick = 0; nowMs < 45000; ++tick) {
    const std::vector<double> gains = play(75);
    EXPECT_LE(gains.back(), atEnd + 0.01);
    if (tick < 5000 / 75) continue;
    std::int32_t side = 0;
    const auto spectrum = modVbVis10::GetSpectrum(side);
    const std::vector<std::uint8_t> bins(spectrum.begin(), spectrum.end());
    EXPECT_LT(bar(bins, 30, 109, 1.0), 26) << nowMs;
    EXPECT_LT(bar(bins, 110, 229, 1.5), 26) << nowMs;
    EXPECT_LT(bar(bins, 230, 288, 2.0), 26) << nowMs;
  }
}
