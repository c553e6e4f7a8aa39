// Twips to pixels and the painting of a form's drawing list, damaged
// coordinates included (the whole main window: the screenshot test).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <limits>

#include "tests/support/qt_application.h"
#include "toolkit/qt/drawing_painter.h"
#include "toolkit/qt/ole_color.h"
#include "toolkit/qt/twip_scale.h"

using tk::qt::TwipScale;

namespace {

const float kInf = std::numeric_limits<float>::infinity(), kNan = std::numeric_limits<float>::quiet_NaN();

QImage painted(const tk::qt::ShownDrawing& drawing, int size) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  drawing.paint(p, image.rect());
  return image;
}

QImage paint(const tk::DrawingList& list) {
  support::offscreenQtApp();
  tk::qt::ShownDrawing shown;
  shown.update(list, TwipScale(96.0));
  return painted(shown, 40);
}

std::ptrdiff_t countPixels(const QImage& image, QColor color) {
  const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
  return std::count(pixels, pixels + image.width() * image.height(), color.rgb());
}

}  // namespace

TEST(TwipScale, PixelsFollowTheDpiAndStayFinite) {
  const TwipScale s(96.0);  // 15 twips per pixel
  EXPECT_EQ(s.rect({120, 240, 14730, 1335}), QRect(8, 16, 982, 89));
  EXPECT_EQ(s.pixel(14.99), 0);
  EXPECT_EQ(s.pixel(-1), -1);
  EXPECT_EQ(TwipScale(144.0).rect({0, 0, 375, 375}).size(), QSize(38, 38));  // 37.5 rounds to even
  EXPECT_EQ(s.pixel(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(s.pixel(-std::numeric_limits<double>::infinity()), -1000000);
  EXPECT_EQ(s.length(1e300), 1000000);
  // A box keeps one pixel each way, in any corner order.
  EXPECT_EQ(s.box(300, 251, 325, 250), QRect(20, 16, 2, 1));
  EXPECT_EQ(s.box(325, 1500, 300, 250), s.box(300, 250, 325, 1500));
}

TEST(OleColor, PlainAndSystemColours) {
  const QPalette palette;
  EXPECT_EQ(tk::qt::toQColor(255, palette), QColor(255, 0, 0));  // BGR order
  EXPECT_EQ(tk::qt::toQColor(tk::kButtonFace, palette), palette.color(QPalette::Button));
  EXPECT_EQ(tk::qt::toQColor(0x800000FF, palette), palette.color(QPalette::Window)) << "an unknown system colour";
}

TEST(DrawingPainter, OutlinesAndDamagedBoxes) {
  const QImage outline = paint({{150, 150, 449, 449, tk::kPalette1, false}});  // pixels 10..29
  EXPECT_EQ(outline.pixelColor(20, 20), QColor(Qt::white));
  EXPECT_EQ(countPixels(outline, QColor(0, 0, 128)), 4 * 19);
  const QImage damaged = paint({{kNan, kNan, kNan, kNan, tk::kRed, true},
                                {-kInf, 0, kInf, 1e30f, tk::kGreen, false},
                                {300, 300, 314, 314, tk::kPalette4, true}});
  EXPECT_EQ(damaged.pixelColor(20, 20), QColor(128, 0, 0)) << "painting goes on past them";
}

// A tick changes a few boxes: the repaint covers where they were and where
// they are, a box that came or went, and after a new scale everything; the
// boxes then paint as a drawing shown afresh does.
TEST(DrawingPainter, AnUpdateGivesWhereTheDrawingChanged) {
  support::offscreenQtApp();
  const TwipScale scale(96.0);  // 15 twips a pixel
  tk::qt::ShownDrawing shown;
  tk::DrawingList list{{0, 0, 149, 149, tk::kRed, true},
                       {300, 300, 449, 449, tk::kGreen, true},
                       {600, 0, 749, 149, tk::kPalette4, false}};
  EXPECT_EQ(shown.update(list, scale), QRect(0, 0, 50, 30)) << "all new";
  EXPECT_TRUE(shown.update(list, scale).isEmpty()) << "nothing moved";
  list[1].y2 = 599;
  EXPECT_EQ(shown.update(list, scale), QRect(20, 20, 10, 20)) << "a box grew";
  list.pop_back();
  EXPECT_EQ(shown.update(list, scale), QRect(40, 0, 10, 10)) << "a box went";
  const TwipScale twice(192.0);
  EXPECT_EQ(shown.update(list, twice), QRect(0, 0, 60, 80)) << "a new scale";
  EXPECT_TRUE(shown.update(list, twice).isEmpty());
  tk::qt::ShownDrawing fresh;
  fresh.update(list, twice);
  EXPECT_TRUE(painted(shown, 80) == painted(fresh, 80));
}
