// The host window's kept choices: a bad file costs only its bad lines.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "tests/host/live_run.h"
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

TEST(HostSettings, TheFileKeepsItsChoicesInAFolderThatDoesNotExistYet) {
  support::TempFolder folder;
  const auto file = folder.path() / "config" / "sonvero" / kHostSettingsName;
  HostSettingsFile kept(file);
  kept.settings().delayMs = 40;
  kept.save();
  EXPECT_EQ(readHostSettings(file).delayMs, 40);
}

// The choices an unreadable file may hold are not lost to the few of this run.
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

// What is not read stays as it was, each ignored line named once; the file
// is written only when a choice changes.
TEST(HostSettings, AFileKeepsWhatItDoesNotReadAndIsWrittenOnlyWhenAChoiceChanges) {
  support::TempFolder folder;
  const auto file = folder.path() / kHostSettingsName;
  const std::string mine = "\xEF\xBB\xBF# my rig\r\nmaster = 150\r\ngain = nan\r\ndelay = 7\r\nlamp = 3\r\n"
                           "source = demo\r\n\r\n  # the end, without a line end";
  support::writeBytes(file, mine);
  const auto inode = [&] {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st.st_ino;
  };
  const auto before = inode();
  testing::internal::CaptureStderr();
  HostSettingsFile kept(file);
  const std::string log = testing::internal::GetCapturedStderr();
  for (const char* named : {"line 2 is ignored (the master is a whole number from 0 to 100): master = 150",
                            "line 3 is ignored (auto or a decimal number of dB from -12 to 36): gain = nan",
                            "line 4 is ignored (the delay is 0 to 500 ms in steps of 5): delay = 7",
                            "line 5 is ignored (no such key): lamp = 3"})
    EXPECT_NE(log.find(named), std::string::npos) << named << "\n" << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << log;
  EXPECT_EQ(kept.settings(), (HostSettings{.source = "demo"}));

  kept.save();
  EXPECT_EQ(inode(), before) << "nothing changed: not written";
  kept.settings().masterPercent = 60;
  kept.settings().hostWindow = WindowPlace{1, 2, 3, 4};
  kept.save();
  EXPECT_EQ(support::readBytes(file), "\xEF\xBB\xBF# my rig\r\nmaster = 60\r\ngain = nan\r\ndelay = 7\r\nlamp = 3\r\n"
                                      "source = demo\r\n\r\n  # the end, without a line end\r\nhost-window = 1 2 3 4\r\n");
  kept.settings().source.reset();
  kept.settings().masterPercent = 0;
  kept.save();
  EXPECT_EQ(support::readBytes(file), "\xEF\xBB\xBF# my rig\r\nmaster = 0\r\ngain = nan\r\ndelay = 7\r\nlamp = 3\r\n"
                                      "\r\n  # the end, without a line end\r\nhost-window = 1 2 3 4\r\n");
  EXPECT_EQ(readHostSettings(file), (HostSettings{.hostWindow = WindowPlace{1, 2, 3, 4}, .masterPercent = 0}));
}

// A live run's log names what Sonvero.host set and where it came from; the
// gain is --gain, else the kept choice, else automatic, and only the host
// window's choice is kept.
TEST(HostSettings, ALiveRunNamesWhatTheFileSets) {
  support::TempFolder dir;
  const auto file = dir.path() / kHostSettingsName;
  const std::string kept = " (kept in " + file.string() + ")";
  struct Case {
    std::string file;
    std::vector<std::string> options;
    std::vector<std::string> logged;
    std::optional<GainChoice> gainAfter = std::nullopt;
  };
  for (const Case& c :
       {Case{"master = 0\ndelay = 40\ngain = nan\n",
             {"--headless"},
             {"output delay: 40 ms" + kept, "master: 0 %" + kept + "; every channel sends 0", "gain: automatic",
              file.string() + " line 3 is ignored (auto or a decimal number of dB from -12 to 36): gain = nan"}},
        Case{"master = 50\ndelay = 40\ngain = 6\n",
             {"--headless", "--delay", "10", "--gain", "-3.5"},
             {"output delay: 10 ms (--delay)", "master: 50 %" + kept + "\n", "gain: fixed at -3.5 dB"},
             GainChoice{false, 6.0}},
        Case{"gain = -2.5\n", {}, {"output delay: 0 ms\n", "master: 100 %\n", "gain: fixed at -2.5 dB"},
             GainChoice{false, -2.5}},
        Case{"folder", {"--headless"}, {"\"" + file.string() + "\" is a folder, not a regular file"}},
        Case{std::string(70 * 1024, '#'), {"--headless"}, {"\"" + file.string() + "\" is larger than 65536 bytes"}}}) {
    std::filesystem::remove_all(file);
    if (c.file == "folder") std::filesystem::create_directory(file);
    else support::writeBytes(file, c.file);
    const std::string log = testlive::liveRun(dir.path(), c.options);
    for (const std::string& line : c.logged) EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    if (c.file.size() < 100) {
      EXPECT_EQ(readHostSettings(file).gain, c.gainAfter) << c.file;
    }
  }
}
