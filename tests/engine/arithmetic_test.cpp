// The tick's arithmetic without a window, at the corners the session
// scripts do not reach: saturation, bands outside the spectrum, the top
// thresholds and a state already high at the start. The .5 boundaries of
// an ordinary show are golden engine_bar_show's.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "engine/beat.h"
#include "engine/level_scale.h"
#include "engine/rounding.h"
#include "engine/spectrum.h"

namespace {

using engine::roundToInt16;
using engine::roundToInt32;

TEST(Rounding, HalvesToEvenAndSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(roundToInt32(2.5), 2);
  EXPECT_EQ(roundToInt32(-1.5), -2);
  EXPECT_EQ(roundToInt32(std::nextafter(2.5, 3.0)), 3);
  EXPECT_EQ(roundToInt16(40000.0), 32767);
  EXPECT_EQ(roundToInt16(-32768.5), -32768);
  EXPECT_EQ(roundToInt32(std::numeric_limits<double>::infinity()), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(roundToInt32(std::nan("")), 0);
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

// 100 % is 254.99999999999997 on the channel scale: the top threshold 255
// is never exceeded; beat thresholds compare unrounded.
TEST(LevelScale, TheTopThresholdsNeverSwitchOn) {
  EXPECT_EQ(engine::levelPercent(32767), 205) << "no clamp of its own";
  EXPECT_EQ(engine::vuValue(100, {255, false, 1}), 0);
  EXPECT_EQ(engine::vuValue(100, {254, true, 200}), 200);
  EXPECT_FALSE(engine::beatOn(100, 255));
  EXPECT_TRUE(engine::beatOn(100, 254));
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
