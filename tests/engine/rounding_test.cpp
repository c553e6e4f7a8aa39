#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/level_scale.h"
#include "engine/rounding.h"

namespace {

using engine::roundToInt16;
using engine::roundToInt32;

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundToInt32(0.5), 0);
  EXPECT_EQ(roundToInt32(1.5), 2);
  EXPECT_EQ(roundToInt32(2.5), 2);
  EXPECT_EQ(roundToInt32(3.5), 4);
  EXPECT_EQ(roundToInt32(-0.5), 0);
  EXPECT_EQ(roundToInt32(-1.5), -2);
  EXPECT_EQ(roundToInt32(-2.5), -2);
  EXPECT_EQ(roundToInt16(254.5), 254);
  EXPECT_EQ(roundToInt16(255.5), 256);
}

TEST(Rounding, JustBelowAndAboveAHalf) {
  EXPECT_EQ(roundToInt32(std::nextafter(2.5, 0.0)), 2);
  EXPECT_EQ(roundToInt32(std::nextafter(2.5, 3.0)), 3);
  EXPECT_EQ(roundToInt32(std::nextafter(1.5, 0.0)), 1);
  EXPECT_EQ(roundToInt32(127.49999999999999), 127);
  EXPECT_EQ(roundToInt16(622.55), 623);
}

TEST(Rounding, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(roundToInt16(32767.4), 32767);
  EXPECT_EQ(roundToInt16(40000.0), 32767);
  EXPECT_EQ(roundToInt16(-32768.5), -32768);
  EXPECT_EQ(roundToInt16(-1e300), -32768);
  EXPECT_EQ(roundToInt32(1e12), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(roundToInt32(std::numeric_limits<double>::infinity()), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(roundToInt32(std::nan("")), 0);
}

// The order of the operations decides the results at the .5 boundaries.
TEST(BarArithmetic, TheOrderOfOperationsGivesTheDocumentedValues) {
  const double level = (1875.0 / 3) * (255.0 / 1250);
  EXPECT_EQ(level, 127.49999999999999);
  EXPECT_EQ(roundToInt32(level * (100 / 100.0)), 127);
  EXPECT_EQ(roundToInt16(127 * (1250 / 255.0)), 623);
  // The threshold mark of threshold 100.
  EXPECT_EQ(static_cast<float>((1500 + 1) - 100 / (255.0 / 1250)), 1010.80392f);
  EXPECT_EQ(static_cast<float>(1500 - 100 / (255.0 / 1250)), 1009.80392f);
}

// Meter percents round half to even; thresholds stay unrounded so that the
// strict comparison holds at 50 % and 100 %.
TEST(LevelScale, PercentsAndThresholds) {
  EXPECT_EQ(engine::levelPercent(3200), 20);
  EXPECT_EQ(engine::levelPercent(80), 0) << "0.5 % rounds to even 0";
  EXPECT_EQ(engine::levelPercent(240), 2) << "1.5 % rounds to even 2";
  EXPECT_EQ(engine::levelPercent(32767), 205) << "no clamp of its own";
  EXPECT_EQ(engine::channelPercent(200), 78);
  EXPECT_EQ(engine::channelPercent(128), 50);
  EXPECT_GT(engine::thresholdPercent(128), 50.0);
  EXPECT_LT(engine::thresholdPercent(127), 50.0);
  EXPECT_FALSE(100 > engine::thresholdPercent(255));
}

}  // namespace
