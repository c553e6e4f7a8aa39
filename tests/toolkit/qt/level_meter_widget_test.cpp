// The LED segment meter: clear lights nothing, a level lights its share.
#include <gtest/gtest.h>

#include "toolkit/qt/level_meter_widget.h"

using tk::qt::LevelMeterWidget;

TEST(LevelMeterWidget, LitSegmentsFollowTheLevelRoundedToEvenAndClamped) {
  const struct {
    std::optional<std::int16_t> level;
    int segments, lit;
  } cases[] = {{std::nullopt, 20, 0}, {50, 20, 10}, {25, 10, 2} /* 2.5 */, {35, 10, 4} /* 3.5 */,
               {32767, 20, 20},       {-32768, 20, 0}, {101, 1, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(LevelMeterWidget::litSegments(c.level, c.segments), c.lit) << c.level.value_or(-1) << "/" << c.segments;
}

