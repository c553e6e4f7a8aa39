// The main window with eight bars, a spectrum and moving meters on screen,
// kept under the build tree (screenshots/main_window.png).
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QTest>
#include <cmath>
#include <cstdio>

#include "bridge/vbvis.h"
#include "model/arrays.h"
#include "tests/support/qt_fixture.h"
#include "ui/Main.h"
#include "ui/bar_list.h"

namespace {

// A spectrum falling towards the treble, with a ripple moving with `phase`.
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

// Ticks that repaint only what moved leave the picture a full repaint gives.
TEST_F(ScreenshotTest, RepaintsOfWhatMovedAddUpToTheWholePicture) {
  QWidget& shown = *window(main);
  const std::int16_t levels[] = {16000, 3000, 12000, 0, 9000, 15000, 200, 8000};
  for (int t = 0; t < 8; ++t) {
    feed(t * 0.7, levels[t], levels[7 - t]);
    tick();
    settle();
    const QImage partly = onScreen(shown);
    ASSERT_TRUE(partly == afterFullRepaint(shown)) << "tick " << t;
  }
  const QImage image = shown.grab().toImage();
  ASSERT_TRUE(QDir().mkpath(SONVERO_SCREENSHOT_DIR));
  ASSERT_TRUE(image.save(QString(SONVERO_SCREENSHOT_DIR) + "/main_window.png"));
  const QRect strip = tk::qt::TwipScale(96.0).rect(main.Shape1.geometry()).adjusted(1, 1, -1, -1);
  int drawnColumns = 0;
  for (int x = strip.left(); x <= strip.right(); ++x) {
    bool drawn = false;
    for (int y = strip.top(); y <= strip.bottom() && !drawn; ++y) drawn = image.pixelColor(x, y) != QColor(Qt::white);
    drawnColumns += drawn;
  }
  EXPECT_GT(drawnColumns, 600);
  EXPECT_EQ(main.ListView1.rowCount(), 8);
}
