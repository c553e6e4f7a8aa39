// Sonvero's own windows through the Qt backend: the main window's commands,
// its parameter controls and the settings file it writes when it closes.
#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "model/arrays.h"
#include "model/settings.h"
#include "tests/support/qt_fixture.h"
#include "ui/Main.h"

namespace {

class MainWindowTest : public support::QtFixture {
 protected:
  void SetUp() override {
    support::QtFixture::SetUp();
    ASSERT_TRUE(settingsDir.isValid());
    setenv("SONVERO_SETTINGS_DIR", settingsDir.path().toLocal8Bit().constData(), 1);
    Arrays::resetAll();
    show(mainForm());
  }
  Main& main = mainForm();
  QTemporaryDir settingsDir;
};

}  // namespace

TEST_F(MainWindowTest, PlusOpensABarDialog) {
  QTest::mouseClick(widgetAs<QPushButton>(main.Command1), Qt::LeftButton);
  tk::Form* dialog = formCaptioned("Balken definieren");
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(window(*dialog), nullptr);
  EXPECT_TRUE(window(*dialog)->isVisible());
  // Modeless and several of a kind: a second press opens a second one.
  QTest::mouseClick(widgetAs<QPushButton>(main.Command1), Qt::LeftButton);
  int open = 0;
  for (tk::Form* f : tk::app().forms()) open += f->caption() == "Balken definieren" && window(*f) != nullptr;
  EXPECT_EQ(open, 2);
}

TEST_F(MainWindowTest, MovingASliderChangesTheModel) {
  auto* slider = widgetAs<QSlider>(main.Slider2);
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_Right);
  QTest::keyClick(slider, Qt::Key_PageUp);
  EXPECT_EQ(main.Slider2.value(), 7);
  EXPECT_EQ(slider->value(), 7);
}

TEST_F(MainWindowTest, ScrollBarsTopEndGivesTheLargerValue) {
  auto* bar = widgetAs<QScrollBar>(main.VScroll6);
  EXPECT_EQ(main.VScroll6.value(), 1);
  dragThumb(bar, -100);
  EXPECT_EQ(main.VScroll6.value(), 255);
  dragThumb(bar, bar->height() + 100);
  EXPECT_EQ(main.VScroll6.value(), 1);
  // VScroll1 picks a pixel 1..288, 288 at the top.
  dragThumb(widgetAs<QScrollBar>(main.VScroll1), -100);
  EXPECT_EQ(main.VScroll1.value(), 288);
}

TEST_F(MainWindowTest, EscapeClosesTheAboutBox) {
  QTest::mouseClick(widgetAs<QPushButton>(main.Command4), Qt::LeftButton);
  tk::Form* about = formCaptioned("Info zu Sonvero");
  ASSERT_NE(about, nullptr);
  ASSERT_NE(window(*about), nullptr);
  QTest::keyClick(window(*about), Qt::Key_Escape);
  settle();
  EXPECT_EQ(formCaptioned("Info zu Sonvero"), nullptr);
  EXPECT_TRUE(main.loaded());
}

TEST_F(MainWindowTest, ClosingMainWritesTheSettingsFile) {
  const std::filesystem::path file = Settings::filePath();
  ASSERT_FALSE(std::filesystem::exists(file));
  dragThumb(widgetAs<QScrollBar>(main.VScroll6), -100);
  QTest::mouseClick(widgetAs<QCheckBox>(main.Check5), Qt::LeftButton);
  window(main)->close();
  EXPECT_FALSE(main.loaded());
  EXPECT_EQ(window(main), nullptr);
  std::ifstream in(file, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  EXPECT_NE(text.find("VU - SS=255\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("DMX-Ausgabe - aktiv=1\r\n"), std::string::npos) << text;
}

TEST_F(MainWindowTest, Timer1RunsOnTheQtLoopOnceMainHasLoaded) {
  // Every 75 ms; what one tick draws is in ScreenshotTest.
  const std::uint64_t before = main.drawingRevision();
  QTest::qWait(200);
  EXPECT_GT(main.drawingRevision(), before);
}
