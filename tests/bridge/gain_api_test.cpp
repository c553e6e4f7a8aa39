// The gain through the bridge's C functions, on the simulated clock, with
// files made by sox (a fixed gain's effect on the spectrum and the levels:
// golden audio_gain_auto; a new source keeps the gain: golden
// audio_gain_kept).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "bridge/vbvis.h"
#include "tests/bridge/clocked_bridge.h"

namespace {

class GainApi : public ClockedBridge {
 protected:
  void TearDown() override {
    ClockedBridge::TearDown();
    vbvis_set_gain(0, 0.0);
  }
  static vbvis_gain_state gain() {
    vbvis_gain_state state{};
    EXPECT_EQ(vbvis_gain(&state), 0);
    return state;
  }
  // Ticks of 75 ms for `ms`; the gain after the last.
  static double play(std::int64_t ms) {
    for (const std::int64_t end = nowMs + ms; nowMs < end;) {
      nowMs += 75;
      vbvis_vu(0);
    }
    return gain().gain_db;
  }
  // A bar of bass-mids-highs.show: its pixels' mean (1-based, inclusive), boosted.
  static double bar(const std::vector<std::uint8_t>& bins, int from, int to, double boost) {
    double sum = 0;
    for (int p = from; p <= to; ++p) sum += bins[static_cast<std::size_t>(p - 1)];
    return sum / (to - from + 1) * boost;
  }
};

}  // namespace

// Loaded at a fixed 0 dB; outside -12..36 (or not a number) nothing changes.
TEST_F(GainApi, StartsFixedAtZeroAndRefusesGainsOutOfRange) {
  vbvis_gain_state s = gain();
  EXPECT_EQ(s.automatic, 0);
  EXPECT_EQ(s.gain_db, 0.0);
  EXPECT_EQ(s.input_db, VBVIS_SILENCE_DB);
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

// Music, then 30 s of pink noise at -60 dBFS: from 5 s into the noise every
// bar of the starter show stays under 26 of 255, and the gain never climbs.
TEST_F(GainApi, NoiseAfterTheMusicStaysDark) {
  ASSERT_EQ(vbvis_set_gain(1, 0.0), 0);
  ASSERT_TRUE(openFile(sox.make("kicks.wav", "synth 0.5 sine 150-45 fade q 0.002 0.5 0.42 gain -42 repeat 29")));
  const double atEnd = play(15000);
  ASSERT_GT(atEnd, 25.0);
  ASSERT_TRUE(openFile(sox.make("pink.wav", "synth 30 pinknoise gain -60")));
  for (int tick = 0; nowMs < 45000; ++tick) {
    EXPECT_LE(play(75), atEnd + 0.01);
    if (tick < 5000 / 75) continue;
    const std::vector<std::uint8_t> bins = spectrum();
    EXPECT_LT(bar(bins, 30, 109, 1.0), 26) << nowMs;
    EXPECT_LT(bar(bins, 110, 229, 1.5), 26) << nowMs;
    EXPECT_LT(bar(bins, 230, 288, 2.0), 26) << nowMs;
  }
}
