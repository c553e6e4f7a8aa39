#pragma once
// Text as people write scripts, shows and profile files: a leading UTF-8
// byte-order mark belongs to no line, and LF, CR LF or a lone CR ends a
// line. The same rules for text held whole in memory and for a stream.
#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace files {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One line of a text in memory: its characters run from `begin` to `end`,
// the next line starts at `next` (after its line end; text.size() for the
// last line).
struct LineSpan {
  std::size_t begin, end, next;
};

// Where the first line starts: after the byte-order mark, if there is one.
std::size_t firstLineStart(std::string_view text);
// The line that starts at `begin` (begin < text.size()).
LineSpan lineAt(std::string_view text, std::size_t begin);

// Reads a stream line by line. A read that fails (a folder, a device error)
// or a line longer than kMaxLineBytes ends the reading with a reason, so
// that a caller can tell a text that ended from one that could not be read
// to its end.
class LineReader {
 public:
  static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

  explicit LineReader(std::istream& in) : in_(in) {}
  // The next line without its line end; false at the end of the text and
  // when reading failed (then error() says why).
  bool next(std::string& line);
  // Empty while the text reads well.
  const std::string& error() const { return error_; }

 private:
  bool readLine(std::string& line);

  std::istream& in_;
  bool first_ = true;
  bool done_ = false;
  std::string error_;
};

}  // namespace files
