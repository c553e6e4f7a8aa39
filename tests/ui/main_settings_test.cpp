// The settings file where the scripts cannot go: a bar chosen by hand
// while another waits, and a folder that refuses the save.
#include <cstdlib>

#include "tests/support/temp_folder.h"
#include "tests/ui/main_fixture.h"

namespace {

class MainSettings : public MainTest {
 protected:
  void SetUp() override {
    ::setenv("SONVERO_SETTINGS_DIR", dir.path().c_str(), 1);
    MainTest::SetUp();
  }
  void reopen() {
    event([this] { main.unload(tk::UnloadMode::CloseBox); });
    event([this] { main.show(); });
  }
  void openWith(const std::string& ini) {
    event([this] { main.discard(); });
    support::writeBytes(file, ini);
    event([this] { main.show(); });
  }
  support::TempFolder dir;
  std::filesystem::path file = dir.path() / "Sonvero.ini";
};

TEST_F(MainSettings, ChoosingABarByHandDropsTheWaitingOne) {
  openWith("[Einstellungen]\r\nBeat: Balken - ch=3\r\n");
  bar(0, 1, 1);
  bar(1, 1, 1);
  tick();
  main.VScroll4.userSetValue(2);
  bar(2, 1, 1);
  tick();
  EXPECT_EQ(main.VScroll4.value(), 2);
}

TEST_F(MainSettings, AReadOnlyFolderKeepsTheOldFileWhole) {
  const std::string before = "[Einstellungen]\r\nVU - SS=5\r\n";
  openWith(before);
  main.VScroll6.setValue(99);
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                                               std::filesystem::perms::others_read |
                                               std::filesystem::perms::others_exec);
  {
    support::Unprivileged user;
    ASSERT_TRUE(user.ok());
    reopen();
  }
  EXPECT_EQ(support::readBytes(file), before);
  EXPECT_EQ(main.VScroll6.value(), 5) << "the next opening reads what the file holds";
}

}  // namespace
