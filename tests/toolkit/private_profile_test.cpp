// The profile functions on files the golden settings scripts do not hold
// (files that may not be replaced: safe_file_test).
#include <gtest/gtest.h>

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

// A save's 22 writes happen in memory and reach the file at once, the
// file's own layout kept (the rest of it: golden settings_foreign).
TEST_F(PrivateProfile, ChangesAreMadeInMemoryAndWrittenOnce) {
  const std::string before = "; own\n[einstellungen]\nVU - SS = 5\n\n[Other]\nx=1";
  writeBytes(file, before);
  tk::PrivateProfile profile = tk::PrivateProfile::load(file);
  profile.set("Einstellungen", "vu - ss", "51");
  profile.set("Einstellungen", "VU - b\xC3\x9Csa", "2");
  profile.set("Einstellungen", "VU - B\xC3\x9CSA", "3");
  profile.set("New", "k", "4");
  EXPECT_EQ(profile.get("EINSTELLUNGEN", "VU - SS", "d", 1280), "51");
  EXPECT_EQ(profile.get("Einstellungen", "vu - b\xC3\xBCsa", "d", 1280), "3");
  EXPECT_EQ(profile.get("new", "K", "d", 1280), "4");
  EXPECT_EQ(readBytes(file), before) << "nothing written before the save";
  ASSERT_TRUE(profile.save().ok);
  EXPECT_EQ(readBytes(file), "; own\n[einstellungen]\nVU - SS=51\nVU - b\xDCsa=3\r\n\n[Other]\nx=1\r\n[New]\r\nk=4\r\n");
}
}  // namespace
