// The shared tables at their limits and the settings file's numbers and
// folder (the ordinary cases: goldens foundation_tables, settings_foreign).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "model/arrays.h"
#include "model/settings.h"
#include "tests/support/temp_folder.h"

namespace {

using Settings::readNumber;
using Settings::toControlValue;

class SharedTables : public ::testing::Test {
 protected:
  void SetUp() override { Arrays::resetAll(); }
};

TEST_F(SharedTables, AListEndsAtItsFirstEntryThatIsNotPositiveOrAfterAllOf1024) {
  auto& list = *Arrays::listById(Arrays::kVuLeft, 0);
  for (int j = 1; j <= Arrays::kListEntries; ++j) list[j] = static_cast<std::int16_t>(j);
  int n = 0;
  Arrays::forEachChannel(list, [&](int) { ++n; });
  EXPECT_EQ(n, 1024);
  EXPECT_EQ(Arrays::channelCount(list), 1024);
  list[3] = -3;
  EXPECT_EQ(Arrays::channelCount(list), 2) << "a negative entry ends the list too";
}

TEST_F(SharedTables, ListIdsOutsideOneToSixNameNoList) {
  for (auto [id, slot] : {std::pair{0, 0}, {7, 0}, {1, 288}, {1, -1}}) EXPECT_EQ(Arrays::listById(id, slot), nullptr);
  EXPECT_EQ(Arrays::listById(1, 3), &Arrays::barChannels[3]);
}

TEST(SettingsNumber, ReadsTheLeadingDecimalNumberWithBlanksAnywhere) {
  EXPECT_EQ(readNumber("-7x"), -7);
  EXPECT_EQ(readNumber(".5"), 0.5);
  EXPECT_EQ(readNumber("1E+2x"), 100);
  EXPECT_EQ(readNumber("1e"), 1) << "an exponent needs a digit";
  EXPECT_EQ(readNumber("1.2.3"), 1.2);
  EXPECT_EQ(readNumber("-"), 0);
  EXPECT_EQ(readNumber("0x10"), 0) << "decimal only";
  EXPECT_EQ(readNumber("- 4 . 5"), -4.5);
  EXPECT_EQ(readNumber("\r5"), 0) << "a carriage return is no blank";
}

TEST(SettingsNumber, RoundsHalfToEvenAndClampsIntoTheControlsRange) {
  EXPECT_EQ(toControlValue("2.5000001", 0, 300), 3);
  EXPECT_EQ(toControlValue("1e999", 1, 255), 255);
  EXPECT_EQ(toControlValue("-1e999", 1, 255), 1);
  EXPECT_EQ(toControlValue("1e-999", 0, 3), 0);
}

class SettingsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"SONVERO_SETTINGS_DIR", "XDG_CONFIG_HOME", "HOME"})
      if (const char* v = std::getenv(name)) saved_.emplace_back(name, v);
    ::unsetenv("SONVERO_SETTINGS_DIR");
    ::unsetenv("XDG_CONFIG_HOME");
  }
  void TearDown() override {
    ::unsetenv("XDG_CONFIG_HOME");
    for (auto& [name, value] : saved_) ::setenv(name.c_str(), value.c_str(), 1);
  }
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(SettingsFolder, TheUsersConfigFolderWhenTheCodesFolderIsReadOnly) {
  const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe");
  if (::geteuid() != 0 && ::access(self.parent_path().c_str(), W_OK) == 0) GTEST_SKIP() << "needs root to drop rights";
  ::setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
  support::Unprivileged user;  // nobody cannot write the build folder
  ASSERT_TRUE(user.ok());
  EXPECT_EQ(Settings::folder(), std::filesystem::path("/xdg/config/sonvero"));
  ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(Settings::folder(), std::filesystem::path("/home/someone/.config/sonvero"));
}

}  // namespace
