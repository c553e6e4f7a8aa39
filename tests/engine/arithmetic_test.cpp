// The tick's arithmetic without a window: rounding, the order of the
// floating-point operations at the .5 boundaries, the clipping of bands and
// the strict thresholds.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "engine/beat.h"
#include "engine/level_scale.h"
#include "engine/rounding.h"
#include "engine/spectrum.h"

namespace {

using engine::roundToInt16;
using engine::roundToInt32;

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundToInt32(0.5), 0);
  EXPECT_EQ(roundToInt32(1.5), 2);
  EXPECT_EQ(roundToInt32(2.5), 2);
  EXPECT_EQ(roundToInt32(-1.5), -2);
  EXPECT_EQ(roundToInt32(-2.5), -2);
  EXPECT_EQ(roundToInt16(255.5), 256);
  EXPECT_EQ(roundToInt32(std::nextafter(2.5, 0.0)), 2);
  EXPECT_EQ(roundToInt32(std::nextafter(2.5, 3.0)), 3);
}

TEST(Rounding, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(roundToInt16(32767.4), 32767);
  EXPECT_EQ(roundToInt16(40000.0), 32767);
  EXPECT_EQ(roundToInt16(-32768.5), -32768);
  EXPECT_EQ(roundToInt16(-1e300), -32768);
  EXPECT_EQ(roundToInt32(std::numeric_limits<double>::infinity()), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(roundToInt32(std::nan("")), 0);
}

// Three pixels of 625 twips average to 127.49999999999999 on the channel
// scale: 127, drawn 623 high; the mark of threshold 100 at 1010.8.
TEST(StripScale, TheOrderOfOperationsDecidesAtTheHalves) {
  std::array<std::int32_t, engine::kSpectrumPixels> heights{625, 625, 625};
  const engine::StripScale scale(1250);
  EXPECT_EQ(scale.bandValue(heights, {1, 3}, 100), 127);
  EXPECT_EQ(scale.height(127), 623);
  EXPECT_EQ(static_cast<float>((1500 + 1) - scale.mark(100)), 1010.80392f);
  heights.fill(1250);
  EXPECT_EQ(scale.bandValue(heights, {1, 288}, 200), 255) << "a sum past 16 bits, boosted past 255";
  EXPECT_EQ(engine::pixelHeight(128, 1250, 200), 1250) << "1255 clamped to the strip";
}

TEST(StripScale, BandsAreClippedToPixels1To288) {
  const auto band = [](int from, int to) {
    const engine::Band b = engine::clippedBand(static_cast<std::int16_t>(from), static_cast<std::int16_t>(to));
    return b.empty() ? std::pair{0, 0} : std::pair<int, int>{b.lo, b.hi};
  };
  EXPECT_EQ(band(0, 2), (std::pair{1, 2}));
  EXPECT_EQ(band(288, 300), (std::pair{288, 288}));
  EXPECT_EQ(band(300, 310), (std::pair{0, 0}));
  EXPECT_EQ(band(5, 3), (std::pair{0, 0}));
  EXPECT_EQ(band(-5, -1), (std::pair{0, 0}));
}

// Strict everywhere: a value equal to its threshold switches off.
TEST(Thresholds, GlobalThenPerBarSetOnExceed) {
  const std::int32_t global = engine::applyThreshold(61, {50, true, 200});
  EXPECT_EQ(global, 200);
  EXPECT_EQ(engine::applyThreshold(global, {100, true, 255}), 255);
  EXPECT_EQ(engine::applyThreshold(global, {200, true, 255}), 0);
  EXPECT_EQ(engine::applyThreshold(61, {60, false, 200}), 61);
}

TEST(LevelScale, PercentsAndThresholds) {
  EXPECT_EQ(engine::levelPercent(80), 0) << "0.5 % rounds to even 0";
  EXPECT_EQ(engine::levelPercent(240), 2) << "1.5 % rounds to even 2";
  EXPECT_EQ(engine::levelPercent(32767), 205) << "no clamp of its own";
  EXPECT_EQ(engine::channelPercent(128), 50);
  EXPECT_EQ(engine::binPercent(255), 100);
  EXPECT_EQ(engine::vuValue(100, {255, false, 1}), 0) << "100 % is 254.99999999999997";
  EXPECT_EQ(engine::vuValue(100, {254, true, 200}), 200);
  EXPECT_EQ(engine::vuValue(20, {50, false, 1}), 51);
  EXPECT_FALSE(engine::beatOn(100, 255));
  EXPECT_TRUE(engine::beatOn(100, 254));
  EXPECT_FALSE(engine::beatOn(50, 128)) << "128 is 50.2 %";
  EXPECT_TRUE(engine::beatOn(50, 127));
}

// A state already high when the detector starts is no beat: it must fall
// once before a rise sends.
TEST(BeatMessages, OneMessagePerRise) {
  std::uint8_t armed = 0;
  std::string sent;
  for (std::uint8_t state : {1, 1, 0, 1, 1, 0, 0, 1}) sent += engine::beatRises(state, armed) ? 'B' : '.';
  EXPECT_EQ(sent, "...B...B");
}

}  // namespace
