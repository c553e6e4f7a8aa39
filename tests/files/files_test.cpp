// Lines of text as people write them, bytes as messages quote them, and
// moving a file out of the way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "files/printable.h"
#include "files/set_aside.h"
#include "files/text_lines.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using files::printable;
using Lines = std::vector<std::string>;

Lines linesOf(std::istream&& in, std::string& error) {
  files::LineReader reader(in);
  Lines lines;
  for (std::string line; reader.next(line);) lines.push_back(line);
  error = reader.error();
  return lines;
}

TEST(LineReader, SkipsTheByteOrderMarkReadsEveryLineEndAndTellsAFailureFromTheEnd) {
  std::string error;
  EXPECT_EQ(linesOf(std::istringstream("\xEF\xBB\xBF" "a\r\nb\rc\nd"), error), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(linesOf(std::istringstream("\r\r\n\n"), error), (Lines{"", "", ""}));
  EXPECT_EQ(linesOf(std::istringstream("a\n\xEF\xBB\xBF" "b"), error), (Lines{"a", "\xEF\xBB\xBF" "b"})) << "only at the start";
  EXPECT_EQ(error, "");

  support::TempFolder dir;
  EXPECT_EQ(linesOf(std::ifstream(dir.path()), error), Lines{});
  EXPECT_EQ(error, "Is a directory");
  EXPECT_EQ(linesOf(std::istringstream(std::string(files::LineReader::kMaxLineBytes, 'x')), error).size(), 1u);
  EXPECT_EQ(linesOf(std::istringstream(std::string(files::LineReader::kMaxLineBytes + 1, 'x')), error), Lines{});
  EXPECT_NE(error, "");
}

TEST(Printable, KeepsPrintableTextAndEscapesWhatATerminalActsOn) {
  EXPECT_EQ(printable("Kan\xC3\xA4le.Combo1 1..288"), "Kan\xC3\xA4le.Combo1 1..288");
  EXPECT_EQ(printable(std::string("a\0b", 3)), "a\\x00b");
  EXPECT_EQ(printable("\x1b[31mred\x1b[0m"), "\\x1b[31mred\\x1b[0m");
  EXPECT_EQ(printable("tab\there\r\nnext"), "tab\\there\\r\\nnext");
  EXPECT_EQ(printable("del\x7f"), "del\\x7f");
  EXPECT_EQ(printable("back\\slash"), "back\\\\slash");
  // C1 controls (an 8-bit CSI), bidirectional overrides and line separators.
  EXPECT_EQ(printable("\xC2\x9B" "2J"), "\\u009b2J");
  EXPECT_EQ(printable("a\xE2\x80\xAE" "b\xE2\x80\xA8"), "a\\u202eb\\u2028");
  // Not UTF-8: stray, cut, overlong and surrogate sequences byte by byte.
  EXPECT_EQ(printable("\xff\xC3"), "\\xff\\xc3");
  EXPECT_EQ(printable("\xC0\xAF"), "\\xc0\\xaf");
  EXPECT_EQ(printable("\xED\xA0\x80"), "\\xed\\xa0\\x80");
  EXPECT_EQ(printable("\xF0\x9F\x8E\xB5"), "\xF0\x9F\x8E\xB5");
}

TEST(Printable, CutsALongTextAtACharacterAndSaysHowLongItWas) {
  EXPECT_EQ(printable(std::string(900'000, '7')), std::string(files::kPrintableLimit, '7') + "... (900000 bytes)");
  EXPECT_EQ(printable(std::string(files::kPrintableLimit, 'x')), std::string(files::kPrintableLimit, 'x'));
  // A two-byte character across the limit is left out whole.
  const std::string umlauts = std::string(files::kPrintableLimit - 1, 'a') + "\xC3\xA4";
  EXPECT_EQ(printable(umlauts), std::string(files::kPrintableLimit - 1, 'a') + "... (81 bytes)");
  const std::string path = "/" + std::string(4000, 'p');
  EXPECT_EQ(printable(path, files::kPathLimit), path);
}

TEST(SetAside, AFolderThatCannotBeWrittenKeepsTheFileWhereItIs) {
  support::TempFolder dir;
  const fs::path file = dir.path() / "Sonvero.show";
  support::writeBytes(file, "kept");
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                  fs::perms::others_exec);
  support::Unprivileged user;
  ASSERT_TRUE(user.ok());
  const files::SetAside aside = files::setAside(file, "unreadable");
  EXPECT_FALSE(aside);
  EXPECT_NE(aside.reason.find("Sonvero.show"), std::string::npos) << aside.reason;
  EXPECT_EQ(support::readBytes(file), "kept");
}

}  // namespace
