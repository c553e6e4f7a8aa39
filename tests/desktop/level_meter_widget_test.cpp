// The LED segment meter: clear lights nothing, a level lights its share.
#include <QImage>

#include "tests/desktop/qt_fixture.h"
#include "toolkit/qt/level_meter_widget.h"

using tk::qt::LevelMeterWidget;

TEST(LevelMeterWidget, LitSegmentsFollowTheLevel) {
  EXPECT_EQ(LevelMeterWidget::litSegments(std::nullopt, 20), 0);
  EXPECT_EQ(LevelMeterWidget::litSegments(0, 20), 0);
  EXPECT_EQ(LevelMeterWidget::litSegments(50, 20), 10);
  EXPECT_EQ(LevelMeterWidget::litSegments(100, 20), 20);
  // Halves go to the even neighbour: 2.5 -> 2, 3.5 -> 4.
  EXPECT_EQ(LevelMeterWidget::litSegments(25, 10), 2);
  EXPECT_EQ(LevelMeterWidget::litSegments(35, 10), 4);
}

TEST(LevelMeterWidget, LevelsOutsideThePercentageAreClamped) {
  EXPECT_EQ(LevelMeterWidget::litSegments(32767, 20), 20);
  EXPECT_EQ(LevelMeterWidget::litSegments(-32768, 20), 0);
  EXPECT_EQ(LevelMeterWidget::litSegments(101, 1), 1);
}

namespace {

// Lit segments are bright; unlit ones are dark versions of the same colours.
int brightPixels(LevelMeterWidget& meter) {
  const QImage image = meter.grab().toImage();
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y).value() > 150;
  return n;
}

}  // namespace

TEST(LevelMeterWidget, PaintsNothingLitWhenClearAndAllAtFullLevel) {
  qtApp();
  LevelMeterWidget meter;
  meter.resize(25, 248);
  EXPECT_EQ(brightPixels(meter), 0);
  meter.setLevel(100);
  const int full = brightPixels(meter);
  EXPECT_GT(full, 0);
  meter.setLevel(50);
  const int half = brightPixels(meter);
  EXPECT_GT(half, full / 3);
  EXPECT_LT(half, full * 2 / 3);
  meter.setLevel(std::nullopt);
  EXPECT_EQ(brightPixels(meter), 0);
}

TEST(LevelMeterWidget, VerticalMeterLightsFromTheBottomWithRedOnTop) {
  qtApp();
  LevelMeterWidget meter;
  meter.resize(25, 248);
  meter.setLevel(30);
  QImage image = meter.grab().toImage();
  EXPECT_GT(image.pixelColor(12, 244).green(), 150);  // bottom segment lit green
  EXPECT_LT(image.pixelColor(12, 5).value(), 150);    // top segment dark
  meter.setLevel(100);
  image = meter.grab().toImage();
  const QColor top = image.pixelColor(12, 5);
  EXPECT_GT(top.red(), 200);
  EXPECT_LT(top.green(), 100);
}
