// The patch window with the real plug-in, and its picture (screenshots/).
#include <QDir>
#include <QTest>

#include "tests/desktop/host_window_fixture.h"
#include "vantorhost/desktop/patch_menu.h"
#include "vantorhost/desktop/patch_window.h"

namespace {

class PatchWindowTest : public PluginSessionTest {
 protected:
  void SetUp() override {
    // The user's own definitions stay out: only the generic ones Sonvero ships count here.
    setenv("XDG_DATA_HOME", dataDir.path().toLocal8Bit().constData(), 1);
    PluginSessionTest::SetUp();
    window = std::make_unique<PatchWindow>(*session);
  }
  void TearDown() override {
    window.reset();
    PluginSessionTest::TearDown();
  }
  std::vector<std::string> patched() const {
    std::vector<std::string> lines;
    for (const PatchedFixture& f : session->patch().fixtures())
      lines.push_back(f.placement.name + " @" + std::to_string(f.placement.address));
    return lines;
  }
  QTemporaryDir dataDir;
  std::unique_ptr<PatchWindow> window;
};

TEST_F(PatchWindowTest, SearchAddSeveralDriveAndRemove) {
  window->show();
  QTest::keyClicks(&window->search(), "sonvero rgb dim");
  ASSERT_EQ(window->results().count(), 1);
  EXPECT_EQ(window->results().currentItem()->text(), "Sonvero / RGB Dimmer");
  EXPECT_EQ(window->mode().currentText(), "RGB Dimmer (4 channels)");
  EXPECT_EQ(window->address().value(), 1);
  window->name().setText("par");
  window->count().setValue(2);
  QTest::mouseClick(&window->addButton(), Qt::LeftButton);
  EXPECT_EQ(patched(), (std::vector<std::string>{"par 1 @1", "par 2 @5"}));
  EXPECT_EQ(window->fixtures().rowCount(), 2);
  EXPECT_EQ(window->fixtures().item(1, 3)->text(), "5\u20138");
  EXPECT_EQ(window->address().value(), 9) << "the next free room";

  // A bar to drive from: the sources list the bars in use.
  IPluginDesign& design = *session->design();
  design.writeBar(0, 30, 109, 100, 1, 0, 1);
  window->fixtures().selectRow(0);
  ASSERT_GE(window->source().findText("Bar 1"), 0);
  window->source().setCurrentIndex(window->source().findText("Bar 1"));
  window->attribute().setCurrentIndex(window->attribute().findText("red"));
  QTest::mouseClick(&window->driveButton(), Qt::LeftButton);
  EXPECT_EQ(design.readList(1, 0), (std::vector<std::int16_t>{1}));
  EXPECT_EQ(window->message().text(), "Bar 1 now drives channel(s) 1.");
  window->source().setCurrentIndex(window->source().findText("VU left"));
  window->attribute().setCurrentIndex(window->attribute().findText("dimmer"));
  QTest::mouseClick(&window->driveButton(), Qt::LeftButton);
  EXPECT_EQ(design.readList(2, 0), (std::vector<std::int16_t>{4}));

  // An address asked for on taken channels: the next free one from there.
  window->count().setValue(1);
  window->name().setText("late");
  window->address().setValue(3);
  QTest::mouseClick(&window->addButton(), Qt::LeftButton);
  EXPECT_EQ(patched(), (std::vector<std::string>{"par 1 @1", "par 2 @5", "late @9"}));

  ASSERT_TRUE(QDir().mkpath(SONVERO_SCREENSHOT_DIR));
  const QImage picture = window->grab().toImage();
  EXPECT_TRUE(picture.save(QString(SONVERO_SCREENSHOT_DIR) + "/patch_window.png"));
  EXPECT_LE(window->width(), 1366);
  EXPECT_LE(window->height(), 768);

  window->fixtures().selectRow(1);
  QTest::mouseClick(&window->removeButton(), Qt::LeftButton);
  EXPECT_EQ(patched().size(), 2u);
}

// The host window's "Fixtures" menu opens the patch window, once.
TEST_F(PatchWindowTest, TheFixturesMenuOpensOnePatchWindow) {
  QWidget host;
  QMenuBar bar(&host);
  PatchMenu menu(host, bar, *session);
  EXPECT_EQ(menu.patchWindow(), nullptr);
  menu.patchAction().trigger();
  ASSERT_NE(menu.patchWindow(), nullptr);
  PatchWindow* first = menu.patchWindow();
  EXPECT_TRUE(first->isVisible());
  menu.patchAction().trigger();
  EXPECT_EQ(menu.patchWindow(), first);
}

}  // namespace
