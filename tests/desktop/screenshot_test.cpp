// A picture of the main window with eight bars, a spectrum and moving
// meters, kept under the build tree (screenshots/main_window.png), and the
// window on screen after ticks that each repaint only what moved.
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QSet>
#include <QTest>
#include <cmath>
#include <cstdio>

#include "bridge/vbvis.h"
#include "model/arrays.h"
#include "tests/support/qt_fixture.h"
#include "ui/Main.h"
#include "ui/bar_list.h"

namespace {

// A spectrum falling from the bass to the treble, with a ripple that
// moves with `phase`.
std::string spectrumHex(double phase = 0) {
  std::string hex;
  for (int p = 0; p < 288; ++p) {
    const double level = 230.0 * std::exp(-p / 140.0) * (0.75 + 0.25 * std::sin(p / 5.0 + phase)) + 12;
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", static_cast<int>(level) & 0xFF);
    hex += pair;
  }
  return hex;
}

void defineEightBars() {
  for (int slot = 0; slot < 8; ++slot) {
    const auto n = static_cast<std::int16_t>(slot + 1);
    Arrays::bars[slot] = {n, static_cast<std::int16_t>(1 + 36 * slot), static_cast<std::int16_t>(36 * n), n, 100, 40, 0, 1};
    Arrays::barChannels[slot][1] = n;
  }
}

class ScreenshotTest : public support::QtFixture {
 protected:
  void SetUp() override {
    support::QtFixture::SetUp();
    ASSERT_EQ(vbvis_open("script"), 0);
    feed(0, 12000, 9000);
    Arrays::resetAll();
    defineEightBars();
    show(main);
    // The switches blink once a second on the real clock: on a busy machine a
    // blink between the two pictures of one tick would tell them apart.
    tk::app().runEvent([&] { main.Timer2.setTimerEnabled(false); });
    tk::app().runEvent([&] { rebuildBarList(main.ListView1); });
    for (tk::CheckBox* on : {&main.Check2, &main.Check3, &main.Check4, &main.Check5})
      QTest::mouseClick(widgetAs<QCheckBox>(*on), Qt::LeftButton);
  }
  void TearDown() override {
    vbvis_close();
    support::QtFixture::TearDown();
  }
  static void feed(double phase, std::int16_t left, std::int16_t right) {
    const std::string hex = spectrumHex(phase);
    vbvis_script_spectrum(288, hex.data(), static_cast<std::int32_t>(hex.size()));
    vbvis_script_vu(left, right);
  }
  void tick() {
    tk::app().runEvent([&] { main.Timer1_Timer(); });
  }
  Main& main = mainForm();
};

}  // namespace

TEST_F(ScreenshotTest, MainWithBarsAndSpectrum) {
  tick();
  tick();

  const QImage image = window(main)->grab().toImage();
  ASSERT_TRUE(QDir().mkpath(SONVERO_SCREENSHOT_DIR));
  const QString path = QString(SONVERO_SCREENSHOT_DIR) + "/main_window.png";
  ASSERT_TRUE(image.save(path)) << path.toStdString();
  EXPECT_EQ(image.size(), QSize(1000, 418));

  QSet<QRgb> colours;  // not blank
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  EXPECT_GT(colours.size(), 20);

  // The spectrum strip (Shape1, inside its outline) holds drawn pixels in
  // most of the columns that the 288 spectrum pixels cover.
  const QRect strip = tk::qt::TwipScale(96.0).rect(main.Shape1.geometry()).adjusted(1, 1, -1, -1);
  int drawnColumns = 0, drawnPixels = 0;
  for (int x = strip.left(); x <= strip.right(); ++x) {
    int inColumn = 0;
    for (int y = strip.top(); y <= strip.bottom(); ++y) inColumn += image.pixelColor(x, y) != QColor(Qt::white);
    drawnPixels += inColumn;
    drawnColumns += inColumn > 0;
  }
  EXPECT_GT(drawnColumns, 600);
  EXPECT_GT(drawnPixels, 10000);
  EXPECT_EQ(main.ListView1.rowCount(), 8);
  EXPECT_TRUE(main.LEDMeter1.level().has_value());  // Check3 turned the VU meters on
}

TEST_F(ScreenshotTest, RepaintsOfWhatMovedAddUpToTheWholePicture) {
  QWidget& shown = *window(main);
  // Levels up and down, beats coming and going, the spectrum moving.
  const std::int16_t levels[] = {16000, 3000, 12000, 0, 9000, 15000, 200, 8000};
  for (int t = 0; t < 8; ++t) {
    feed(t * 0.7, levels[t], levels[7 - t]);
    tick();
    settle();
    const QImage partly = onScreen(shown);
    ASSERT_TRUE(partly == afterFullRepaint(shown)) << "tick " << t;
  }
}
