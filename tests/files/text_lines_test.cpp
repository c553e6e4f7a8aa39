// Script and show lines: a byte-order mark and every line end are read as
// a text editor writes them, and a text that cannot be read to its end
// says so instead of ending quietly.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "files/text_lines.h"
#include "tests/support/temp_folder.h"

namespace {

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

}  // namespace
