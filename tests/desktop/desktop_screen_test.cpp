// sonvero on a private 1366 x 768 X server with a window manager, its picture
// kept under the build tree (screenshots/desktop_1366x768.png).
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"
#include "vantorhost/run/host_settings.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kWidth = 1366, kHeight = 768;

std::string text(const vantorhost::WindowPlace& p) {
  return std::to_string(p.x) + "," + std::to_string(p.y) + " " + std::to_string(p.width) + "x" + std::to_string(p.height);
}

class DesktopScreen : public testing::Test {
 protected:
  // An X server on a display number no one else holds.
  bool startServer() {
    for (int n = 100 + static_cast<int>(getpid() % 400), tries = 0; tries < 20; ++n, ++tries) {
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      if (fs::exists(socket) || fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
      xvfb.start({"Xvfb", ":" + std::to_string(n), "-screen", "0",
                  std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24", "-nolisten", "tcp"});
      // Ready once a client gets in: openbox started on the socket alone has
      // once found no display there.
      const std::string answers = "xprop -display :" + std::to_string(n) + " -root >/dev/null 2>&1";
      if (xvfb.waitUntil([&] { return fs::exists(socket) && std::system(answers.c_str()) == 0; }, 5s)) {
        setenv("DISPLAY", (":" + std::to_string(n)).c_str(), 1);
        return true;
      }
    }
    return false;
  }
  void TearDown() override {
    sonvero.stop(SIGKILL);
    windowManager.stop();
    xvfb.stop();
  }
  support::TempFolder folder;
  const fs::path dir = folder.path();
  support::ChildProcess xvfb, windowManager, sonvero, tool;
};

}  // namespace

TEST_F(DesktopScreen, BothWindowsFitA1366By768ScreenWithTheDemosTempo) {
  ASSERT_TRUE(startServer());
  ASSERT_TRUE(windowManager.start({"openbox"}, (dir / "openbox.log").string(), (dir / "openbox.log").string()));
  // Windows mapped while openbox starts up may never be shown.
  ASSERT_TRUE(windowManager.waitUntil(
      [] { return std::system("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'") == 0; }, 5s))
      << support::readBytes(dir / "openbox.log");
  // Beat: VU on the left side, threshold 128, handing its beats to the plug-in's beat counter.
  std::ofstream(dir / "Sonvero.ini", std::ios::binary)
      << "[Einstellungen]\r\nBeat: VU - aktiv=1\r\nBeat: VU - BS=128\r\nBeat: VU - ch=0\r\nBeat-Tool=0\r\n";
  // The user's own lines in Sonvero.host: kept, named once, never rewritten for nothing.
  const std::string mine = "# my rig\nmaster = 150\ngain = nan\nlamp = 3\n";
  std::ofstream(dir / vantorhost::kHostSettingsName, std::ios::binary) << mine;
  ASSERT_TRUE(sonvero.start({SONVERO_BINARY, "--audio", "demo", "--dmx", "none", "--settings-dir", dir.string()},
                            (dir / "out").string(), (dir / "err").string()));
  std::this_thread::sleep_for(10s);  // 8 s of beats for the tempo, and the start
  ASSERT_TRUE(sonvero.running()) << support::readBytes(dir / "err");
  EXPECT_EQ(support::readBytes(dir / vantorhost::kHostSettingsName), mine) << "nothing chosen yet: not written";

  ASSERT_TRUE(fs::create_directories(SONVERO_SCREENSHOT_DIR) || fs::is_directory(SONVERO_SCREENSHOT_DIR));
  const fs::path picture = fs::path(SONVERO_SCREENSHOT_DIR) / "desktop_1366x768.png";
  EXPECT_TRUE(tool.start({"xwd", "-root", "-silent", "-out", (dir / "screen.xwd").string()}));
  EXPECT_EQ(tool.wait(10s), 0);
  EXPECT_TRUE(tool.start({"convert", (dir / "screen.xwd").string(), picture.string()}));
  EXPECT_EQ(tool.wait(30s), 0);

  // Closing notes where the windows stood.
  sonvero.stop(SIGTERM);
  const vantorhost::HostSettings kept = vantorhost::readHostSettings(dir / vantorhost::kHostSettingsName);
  ASSERT_TRUE(kept.mainWindow && kept.hostWindow) << support::readBytes(dir / "err");
  // Side by side or one above the other, both within the screen.
  const auto& [main, host] = std::pair{*kept.mainWindow, *kept.hostWindow};
  const bool beside = main.x + main.width <= host.x, above = main.y + main.height <= host.y;
  EXPECT_TRUE(main.x >= 0 && main.y >= 0 && (beside || above) && host.x + host.width <= kWidth &&
              host.y + host.height <= kHeight && main.x + main.width <= kWidth)
      << "main " << text(main) << ", host " << text(host);
  EXPECT_EQ(kept.source, std::nullopt) << "--audio is not the window's choice";
  EXPECT_TRUE(support::readBytes(dir / vantorhost::kHostSettingsName).starts_with(mine));
  const std::string log = support::readBytes(dir / "err");
  for (const std::string line : {"line 2 is ignored", "line 3 is ignored", "line 4 is ignored"})
    EXPECT_EQ(log.find(line), log.rfind(line)) << line << " once:\n" << log;
  EXPECT_NE(log.find("line 3 is ignored"), std::string::npos) << log;
}
