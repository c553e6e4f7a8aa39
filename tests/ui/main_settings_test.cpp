// The settings file where the scripts cannot go: a bar chosen by hand
// while another waits. Files that refuse the save: safe_file_test and the
// settings fuzz target.
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

}  // namespace
