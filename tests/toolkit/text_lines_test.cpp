// Script and show lines: a byte-order mark and every line end are read as
// a text editor writes them, and a text that cannot be read to its end
// says so instead of ending quietly.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/temp_folder.h"
#include "toolkit/text_lines.h"

namespace {

std::vector<std::string> linesOf(const std::string& text, std::string* error = nullptr) {
  std::istringstream in(text);
  tk::LineReader reader(in);
  std::vector<std::string> lines;
  for (std::string line; reader.next(line);) lines.push_back(line);
  if (error) *error = reader.error();
  return lines;
}

TEST(LineReader, SkipsTheByteOrderMarkAndReadsEveryLineEnd) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(linesOf("\xEF\xBB\xBF" "a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(linesOf("\r\r\n\n"), (Lines{"", "", ""}));
  EXPECT_EQ(linesOf("a\n\xEF\xBB\xBF" "b"), (Lines{"a", "\xEF\xBB\xBF" "b"})) << "only at the start";
  EXPECT_EQ(linesOf(""), Lines{});
}

TEST(LineReader, AReadErrorOrAnEndlessLineIsNoEnd) {
  support::TempFolder dir;
  std::ifstream folder(dir.path());
  tk::LineReader reader(folder);
  std::string line;
  EXPECT_FALSE(reader.next(line));
  EXPECT_EQ(reader.error(), "Is a directory");

  std::string error;
  EXPECT_TRUE(linesOf(std::string(tk::LineReader::kMaxLineBytes + 1, 'x'), &error).empty());
  EXPECT_NE(error, "");
  EXPECT_EQ(linesOf(std::string(tk::LineReader::kMaxLineBytes, 'x'), &error).size(), 1u);
  EXPECT_EQ(error, "");
}

}  // namespace
