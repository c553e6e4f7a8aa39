// The host window's kept choices: what it writes comes back, and a damaged,
// foreign or unreadable file costs only the lines it lost, never the run.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_folder.h"
#include "vantorhost/run/host_settings.h"

using namespace vantorhost;

TEST(HostSettings, WhatIsSavedComesBackAndBadLinesAreSkipped) {
  support::TempFolder folder;
  const auto file = folder.path() / kHostSettingsName;
  EXPECT_EQ(readHostSettings(file), HostSettings{}) << "missing";
  const HostSettings all{"file:/music/a b.wav", 125, WindowPlace{0, 446, 1366, 322}, WindowPlace{-3, 0, 1002, 445}, 0,
                         GainChoice{false, -6.5}, true};
  ASSERT_TRUE(saveHostSettings(file, all));
  EXPECT_EQ(readHostSettings(file), all);

  // Damage: each bad value is dropped alone, a good one before it stays;
  // CR LF, tabs and a BOM read as written.
  support::writeBytes(file, "\xEF\xBB\xBF" "source = demo\r\n"
                            "delay = 7\r\ndelay = 600\r\ndelay = -5\r\ndelay = 12x\r\n"
                            "host-window = 1 2 3\r\nmain-window = 1 2 0 4\r\n"
                            "host-window = 99999999999 0 10 10\r\nno equals sign\r\n= 5\r\n"
                            "main-window = 10 20 30 40\r\nunknown = 1\r\n"
                            "master = 101\r\nmaster = -1\r\nmaster = 55\r\nmaster = 5 5\r\n"
                            "gain\t=\t6\r\ngain = 99\r\ngain = -13\r\ngain = auto please\r\ngain =\r\ngain = 1e1\r\n"
                            "gain = nan\r\ngain = \x01\xff\r\ngain\r\nGain = 9\r\n"
                            "link = off\r\nlink = yes\r\nlink = ON\r\nlink =\r\n");
  EXPECT_EQ(readHostSettings(file), (HostSettings{"demo", std::nullopt, std::nullopt, WindowPlace{10, 20, 30, 40}, 55,
                                                  GainChoice{false, 6.0}, false}));

  // A folder in its place reads as nothing, and a save there fails, reporting why.
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  EXPECT_EQ(readHostSettings(file), HostSettings{});
  const files::ReplaceResult saved = saveHostSettings(file, all);
  EXPECT_FALSE(saved);
  EXPECT_FALSE(saved.reason.empty());
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

// A first run: the settings folder does not exist yet when the host's
// choices are first kept.
TEST(HostSettings, TheFileKeepsItsChoicesInAFolderThatDoesNotExistYet) {
  support::TempFolder folder;
  const auto file = folder.path() / "config" / "sonvero" / kHostSettingsName;
  HostSettingsFile kept(file);
  kept.settings().delayMs = 40;
  kept.save();
  EXPECT_EQ(readHostSettings(file).delayMs, 40);
}

// A file too large (or otherwise unreadable) is named and left as it is, as
// Sonvero.ini is: the choices it may hold are not lost to the few of this run.
TEST(HostSettings, AFileThatCannotBeReadIsNamedAndLeftAsItIs) {
  support::TempFolder folder;
  const auto file = folder.path() / kHostSettingsName;
  const std::string large = "source = pulse:mine\ndelay = 40\n# " + std::string(70 * 1024, '.') + "\n";
  support::writeBytes(file, large);
  testing::internal::CaptureStderr();
  {
    HostSettingsFile kept(file);
    EXPECT_EQ(kept.settings(), HostSettings{});
    kept.settings().delayMs = 120;
    kept.save();
  }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find(file.string()), std::string::npos) << log;
  EXPECT_NE(log.find("is larger than"), std::string::npos) << log;
  EXPECT_NE(log.find("left as it is"), std::string::npos) << log;
  EXPECT_EQ(support::readBytes(file), large);
}
