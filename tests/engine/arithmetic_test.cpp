// The tick's rounding where no session script reaches: saturation,
// infinities and NaN (the rest: goldens engine_*).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/rounding.h"

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

}  // namespace
