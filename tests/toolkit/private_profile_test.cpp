// The profile functions on files the golden settings scripts do not hold:
// CR-only line ends, values past the buffer, no final line end, the file's
// permissions, and folders or files that may not be written.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/support/temp_folder.h"
#include "toolkit/private_profile.h"
#include "toolkit/windows1252.h"

namespace {

using support::readBytes;
using support::writeBytes;

class PrivateProfile : public ::testing::Test {
 protected:
  std::string get(std::string_view section, std::string_view key, std::size_t size = 1280) {
    return tk::getPrivateProfileString(section, key, "dflt", size, file);
  }
  bool put(std::string_view section, std::string_view key, std::string_view value) {
    return tk::writePrivateProfileString(section, key, value, file);
  }
  support::TempFolder dir;
  std::filesystem::path file = dir.path() / "Sonvero.ini";
};

TEST(Windows1252, UmlautsAndUnmappableCharacters) {
  EXPECT_EQ(tk::cp1252::fromUtf8("b\xC3\x9Csa"), "b\xDCsa");
  EXPECT_EQ(tk::cp1252::toUtf8("b\xDCsa"), "b\xC3\x9Csa");
  EXPECT_EQ(tk::cp1252::fromUtf8("\xE2\x82\xAC"), "\x80") << "the euro sign";
  EXPECT_EQ(tk::cp1252::fromUtf8("\xE4\xB8\xAD"), "?") << "not in the code page";
  EXPECT_EQ(tk::cp1252::fromUtf8("a\xC3"), "a?") << "a cut sequence";
  EXPECT_EQ(tk::cp1252::fromUtf8("\xC0\x80"), "??") << "an overlong form";
  EXPECT_EQ(tk::cp1252::toUtf8("\x81"), "\xC2\x81");
}

TEST_F(PrivateProfile, ReadsAnyLineEnd) {
  for (std::string end : {"\r\n", "\n", "\r"}) {
    writeBytes(file, "[A]" + end + "x=1" + end + "[Einstellungen]" + end + "k=42" + end + "z=3");
    EXPECT_EQ(get("Einstellungen", "k"), "42") << "line end " << testing::PrintToString(end);
    EXPECT_EQ(get("Einstellungen", "z"), "3");
    EXPECT_EQ(get("A", "k"), "dflt") << "a key of another section";
  }
}

TEST_F(PrivateProfile, ValueIsCutToTheBuffer) {
  writeBytes(file, "[S]\r\nk=" + std::string(2000, '7') + "\r\n");
  EXPECT_EQ(get("S", "k").size(), 1279u);
  EXPECT_EQ(get("S", "k", 3), "77");
  EXPECT_EQ(get("S", "k", 0), "");
  writeBytes(file, "[S]\r\nk=\r\n");
  EXPECT_EQ(get("S", "k"), "") << "an empty value is not the default";
  EXPECT_EQ(tk::getPrivateProfileString("S", "none", "12345", 3, file), "12") << "the default is cut too";
}

// Replacing in place and appending within the section: golden settings_foreign.
TEST_F(PrivateProfile, AppendsTheSectionToAFileWithoutFinalLineEnd) {
  writeBytes(file, "[Other]\r\nx=1");
  EXPECT_TRUE(put("Einstellungen", "k", "1"));
  EXPECT_EQ(readBytes(file), "[Other]\r\nx=1\r\n[Einstellungen]\r\nk=1\r\n");
}

TEST_F(PrivateProfile, KeepsTheFilesPermissions) {
  writeBytes(file, "[S]\r\nk=1\r\n");
  ::chmod(file.c_str(), 0640);
  EXPECT_TRUE(put("S", "k", "2"));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(PrivateProfile, AReadOnlyFolderFailsAndLeavesTheOldFileWhole) {
  const std::string before = "[Einstellungen]\r\nVU - SS=5\r\n";
  writeBytes(file, before);
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                                               std::filesystem::perms::others_read |
                                               std::filesystem::perms::others_exec);
  {
    support::Unprivileged user;
    ASSERT_TRUE(user.ok());
    EXPECT_FALSE(put("Einstellungen", "VU - SS", "51"));
    EXPECT_EQ(get("Einstellungen", "VU - SS"), "5");
  }
  EXPECT_EQ(readBytes(file), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file left";
  EXPECT_FALSE(tk::writePrivateProfileString("S", "k", "1", dir.path() / "none" / "Sonvero.ini"));
}

TEST_F(PrivateProfile, AnUnreadableFileIsNotReplaced) {
  writeBytes(file, "[Other]\r\nx=1\r\n");
  ::chmod(file.c_str(), 0);
  ::chmod(dir.path().c_str(), 0777);
  {
    support::Unprivileged user;
    ASSERT_TRUE(user.ok());
    EXPECT_FALSE(put("S", "k", "1"));
  }
  EXPECT_EQ(readBytes(file), "[Other]\r\nx=1\r\n");
}
}  // namespace
