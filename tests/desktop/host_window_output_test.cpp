// The host window's own hand on the output and on shows.
#include <QTest>
#include <filesystem>

#include "tests/desktop/host_window_fixture.h"
#include "tests/support/temp_folder.h"
#include "vantorhost/desktop/show_menu.h"

namespace {

namespace fs = std::filesystem;

class HostWindowOutputTest : public HostWindowTest {
 protected:
  void showAndActivate() {
    host->show();
    QApplication::setActiveWindow(host.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
  }
};

}  // namespace

TEST_F(HostWindowOutputTest, MasterAndBlackoutActOnWhatGoesOutAtOnceAndOnlyTheMasterIsKept) {
  showAndActivate();
  MasterPanel& panel = host->masterPanel();
  session->channels().set(1, 200, session->loop().nowMs());
  event();
  EXPECT_EQ(output.lastChannel1, 200);
  EXPECT_EQ(panel.masterText().text(), "100 %");

  // Underneath: OutputPathTest.MasterAndBlackoutActLastAndAtOnce.
  panel.master().setValue(50);
  EXPECT_EQ(output.lastChannel1, 100) << "handed to the output at once";
  EXPECT_EQ(panel.masterText().text(), "50 %");
  QTest::mouseClick(&panel.blackout(), Qt::LeftButton);
  EXPECT_TRUE(path->blackout());
  EXPECT_EQ(output.lastChannel1, 0);
  // The key B releases it, from anywhere in the window.
  QTest::keyClick(host.get(), Qt::Key_B);
  EXPECT_FALSE(panel.blackout().isChecked());
  EXPECT_EQ(output.lastChannel1, 100);
  QTest::keyClick(&host->sources().box(), Qt::Key_B);
  EXPECT_TRUE(panel.blackout().isChecked()) << "B also works with the focus on another control";
  // Typing a B in a text box types it.
  QTest::keyClick(edit(host->delayBox()), Qt::Key_B);
  EXPECT_TRUE(panel.blackout().isChecked());

  const HostSettings saved = readHostSettings(keptFile());
  EXPECT_EQ(saved.masterPercent, 50);
  EXPECT_EQ(support::readBytes(keptFile()).find("blackout"), std::string::npos)
      << "a start is never dark by surprise";
}

// The key's auto-repeat must never strobe the rig.
TEST_F(HostWindowOutputTest, HoldingBTogglesTheBlackoutOnce) {
  showAndActivate();
  QPushButton& blackout = host->masterPanel().blackout();
  QWindow* window = host->windowHandle();
  const auto key = [&](bool press, bool repeat) {
    QTest::simulateEvent(window, press, Qt::Key_B, Qt::NoModifier, "b", repeat);
  };
  key(true, false);
  EXPECT_TRUE(blackout.isChecked());
  for (int i = 0; i < 9; ++i) {
    key(false, true);  // X sends a release before each repeated press
    key(true, true);
    EXPECT_TRUE(blackout.isChecked()) << "repeat " << i;
  }
  key(false, false);
  EXPECT_TRUE(path->blackout());
  QTest::keyClick(host.get(), Qt::Key_B);
  EXPECT_FALSE(blackout.isChecked()) << "the next press releases it";
}

TEST_F(HostWindowOutputTest, TheDelayAndFadeBoxesShowWhatTheyApply) {
  showAndActivate();
  StepSpinBox& box = host->delayBox();
  // "127" rounds to what was there: nothing changes, and the box says so.
  for (const auto& [typed, shown] : {std::pair{"123", 125}, {"up", 130}, {"127", 125}}) {
    if (typed == std::string("up")) QTest::keyClick(&box, Qt::Key_Up);
    else type(box, typed);
    EXPECT_EQ(box.text(), QString::number(shown) + " ms") << typed;
    EXPECT_EQ(path->delayMs(), shown) << typed;
  }
  // From a value between two steps, an arrow goes to the next step that way.
  box.setValue(123);
  box.stepBy(1);
  EXPECT_EQ(box.value(), 125);
  box.setValue(123);
  box.stepBy(-1);
  EXPECT_EQ(box.value(), 120);
  type(box, "498");
  EXPECT_EQ(box.value(), 500);
  EXPECT_EQ(readHostSettings(keptFile()).delayMs, 500);
  // The fade box keeps to its steps too (a show's fade: golden output_fade).
  type(host->fadePanel().box(), "310");
  EXPECT_EQ(host->fadePanel().box().text(), "300 ms");
  EXPECT_EQ(session->hostDesign().fadeMs, 300);
}

TEST_F(HostWindowOutputTest, OpeningAShowOverUnsavedChangesAsksFirst) {
  support::writeBytes(dir() / "a.show", "# Sonvero show 1\nlist 2 1\n");
  support::writeBytes(dir() / "b.show", "# Sonvero show 1\nlist 2 2\n");
  ShowMenu menu(*host, *session, {});
  IPluginDesign& plugin = *session->design();
  int asked = 0, chosen = 0;
  ShowMenu::Unsaved answer = ShowMenu::Unsaved::Cancel;
  fs::path next;
  menu.askAboutChanges = [&] {
    ++asked;
    return answer;
  };
  menu.askForShowToOpen = [&] {
    ++chosen;
    return next;
  };
  menu.askForShowToSave = [] { return fs::path(); };  // the user cancels
  EXPECT_TRUE(host->windowTitle().startsWith("untitled[*]"));
  next = dir() / "a.show";
  menu.openAction().trigger();
  EXPECT_EQ(asked, 0) << "nothing to lose: no question";
  EXPECT_EQ(menu.file(), dir() / "a.show");

  plugin.writeList(2, 0, {9});
  next = dir() / "b.show";
  menu.openAction().trigger();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(chosen, 1) << "cancelled: no file asked for";
  EXPECT_EQ(plugin.readList(2, 0), std::vector<std::int16_t>{9});

  answer = ShowMenu::Unsaved::Save;
  menu.openAction().trigger();
  EXPECT_NE(support::readBytes(dir() / "a.show").find("\nlist 2 9\n"), std::string::npos) << "saved first";
  EXPECT_EQ(plugin.readList(2, 0), std::vector<std::int16_t>{2});
  EXPECT_EQ(menu.file(), dir() / "b.show");

  plugin.writeList(2, 0, {8});
  answer = ShowMenu::Unsaved::Discard;
  next = dir() / "a.show";
  menu.openAction().trigger();
  EXPECT_EQ(plugin.readList(2, 0), std::vector<std::int16_t>{9});
  EXPECT_EQ(support::readBytes(dir() / "b.show"), "# Sonvero show 1\nlist 2 2\n") << "discarded";

  // Untitled changes to be saved: cancelling the file keeps the design.
  ShowMenu untitled(*host, *session, {});
  untitled.askAboutChanges = [] { return ShowMenu::Unsaved::Save; };
  untitled.askForShowToSave = [] { return fs::path(); };
  untitled.askForShowToOpen = [&] {
    ++chosen;
    return dir() / "b.show";
  };
  const int before = chosen;
  plugin.writeList(2, 0, {7});
  untitled.openAction().trigger();
  EXPECT_EQ(chosen, before);
  EXPECT_EQ(plugin.readList(2, 0), std::vector<std::int16_t>{7});
}

// The title names the show, marked while the design has unsaved changes
// (a bad show changing nothing: golden shows_bad).
TEST_F(HostWindowOutputTest, AStarterShowIsATemplateAndSaveAsNamesItsFileDotShow) {
  const fs::path starters = dir() / "starters";
  fs::create_directory(starters);
  const std::string starter = "# Sonvero show 1\n# a starter\nlist 2 1\n";
  support::writeBytes(starters / "par.show", starter);
  ShowMenu menu(*host, *session, starters / "par.show", starters);
  EXPECT_TRUE(menu.isTemplate()) << "started with --show on a starter";
  EXPECT_TRUE(host->windowTitle().startsWith("par.show (starter show)[*]"));
  int askedForFile = 0;
  menu.askForShowToSave = [&] {
    ++askedForFile;
    return dir() / "mygig";
  };
  session->design()->writeList(2, 0, {5});
  menu.saveAction().trigger();
  EXPECT_EQ(askedForFile, 1) << "Save on a template is Save as";
  EXPECT_EQ(support::readBytes(starters / "par.show"), starter) << "the starter is never written";
  EXPECT_NE(support::readBytes(dir() / "mygig.show").find("\nlist 2 5\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir() / "mygig"));
  EXPECT_EQ(menu.file(), dir() / "mygig.show");
  EXPECT_FALSE(menu.isTemplate());
  EXPECT_TRUE(host->windowTitle().startsWith("mygig.show[*]"));
  EXPECT_FALSE(host->isWindowModified());
  session->design()->writeList(2, 0, {6});  // as the channel dialog would
  menu.checkForChanges();
  EXPECT_TRUE(host->isWindowModified());
  menu.saveAction().trigger();
  EXPECT_EQ(askedForFile, 1) << "the user's own show is saved in place";
  EXPECT_FALSE(host->isWindowModified());
  EXPECT_NE(support::readBytes(dir() / "mygig.show").find("\nlist 2 6\n"), std::string::npos);
  // Opened from the menu, a starter is a template again.
  ASSERT_TRUE(menu.openShow(starters / "par.show"));
  EXPECT_TRUE(menu.isTemplate());
}

// Quitting with unsaved changes asks, but a stop request does not: Ctrl-C must stop.
TEST_F(HostWindowOutputTest, TheShowsNameAndChangesOutliveARestartAndQuittingAsks) {
  const fs::path mygig = dir() / "mygig.show";
  support::writeBytes(mygig, "# Sonvero show 1\nlist 2 1\n");
  IPluginDesign& plugin = *session->design();
  plugin.writeList(2, 0, {9});
  {
    ShowMenu gone(*host, *session, dir() / "gone.show", {}, true);
    EXPECT_TRUE(host->isWindowModified()) << "a show that is gone holds nothing of the design";
  }
  ShowMenu menu(*host, *session, mygig, {}, true);
  EXPECT_TRUE(host->windowTitle().startsWith("mygig.show[*]"));
  EXPECT_TRUE(host->isWindowModified());
  plugin.writeList(2, 0, {1});
  menu.checkForChanges();
  EXPECT_FALSE(host->isWindowModified()) << "back to what mygig.show holds";
  EXPECT_EQ(menu.saveFolder(), dir());

  plugin.writeList(2, 0, {5});
  int asked = 0;
  ShowMenu::Unsaved answer = ShowMenu::Unsaved::Cancel;
  menu.askAboutChanges = [&] {
    ++asked;
    return answer;
  };
  host->mayClose = [&] { return menu.mayQuit(); };
  host->show();
  host->close();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(closed, 0) << "cancelled: Sonvero goes on";
  EXPECT_TRUE(host->isVisible());
  host->stopRequested = [] { return true; };
  host->upkeep();
  EXPECT_EQ(asked, 1) << "a stop request asks nothing";
  EXPECT_EQ(closed, 1);

  // A starter show, or none: Sonvero's own shows folder, made when needed.
  setenv("XDG_DATA_HOME", (dir() / "data").c_str(), 1);
  ShowMenu untitled(*host, *session, {});
  EXPECT_EQ(untitled.saveFolder(), dir() / "data" / "sonvero" / "shows");
  EXPECT_TRUE(fs::is_directory(dir() / "data" / "sonvero" / "shows"));
  EXPECT_TRUE(untitled.mayQuit()) << "an untitled design is kept in Sonvero.show";
  unsetenv("XDG_DATA_HOME");
}
