// The LED segment meter: clear lights nothing, a level lights its share.
#include <QImage>

#include "tests/support/qt_application.h"
#include "tests/support/qt_fixture.h"
#include "toolkit/qt/level_meter_widget.h"

using tk::qt::LevelMeterWidget;

TEST(LevelMeterWidget, LitSegmentsFollowTheLevelRoundedToEvenAndClamped) {
  const struct {
    std::optional<std::int16_t> level;
    int segments, lit;
  } cases[] = {{std::nullopt, 20, 0}, {0, 20, 0},       {50, 20, 10}, {100, 20, 20},
               {25, 10, 2} /* 2.5 */, {35, 10, 4} /* 3.5 */, {32767, 20, 20}, {-32768, 20, 0}, {101, 1, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(LevelMeterWidget::litSegments(c.level, c.segments), c.lit) << c.level.value_or(-1) << "/" << c.segments;
}

TEST(LevelMeterWidget, PaintsFromTheBottomWithRedOnTopAndNothingWhenClear) {
  support::offscreenQtApp();
  LevelMeterWidget meter;
  meter.resize(25, 248);
  // Lit segments are bright; unlit ones are dark versions of the same colours.
  auto bright = [&] {
    const QImage image = meter.grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y).value() > 150;
    return n;
  };
  EXPECT_EQ(bright(), 0);
  meter.setLevel(100);
  const int full = bright();
  EXPECT_GT(full, 0);
  const QColor top = meter.grab().toImage().pixelColor(12, 5);
  EXPECT_GT(top.red(), 200);
  EXPECT_LT(top.green(), 100);
  meter.setLevel(30);
  const QImage image = meter.grab().toImage();
  EXPECT_GT(image.pixelColor(12, 244).green(), 150);  // bottom segment lit green
  EXPECT_LT(image.pixelColor(12, 5).value(), 150);    // top segment dark
  meter.setLevel(50);
  EXPECT_GT(bright(), full / 3);
  EXPECT_LT(bright(), full * 2 / 3);
  meter.setLevel(std::nullopt);
  EXPECT_EQ(bright(), 0);
}
