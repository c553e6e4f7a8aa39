#include "files/text_lines.h"

#include <ios>
#include <new>

namespace files {

std::size_t firstLineStart(std::string_view text) { return text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0; }

LineSpan lineAt(std::string_view text, std::size_t begin) {
  std::size_t end = begin;
  while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
  if (end == text.size()) return {begin, end, end};
  std::size_t next = end + 1;
  if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
  return {begin, end, next};
}

bool LineReader::next(std::string& line) {
  line.clear();
  if (done_) return false;
  try {
    if (!readLine(line)) {
      done_ = true;
      return false;
    }
  } catch (const std::ios_base::failure& e) {
    // The stream buffer says what the system said (EIO, EISDIR, ...).
    error_ = e.code() ? e.code().message() : e.what();
  } catch (const std::bad_alloc&) {
    error_ = "out of memory";
  }
  if (!error_.empty()) {
    done_ = true;
    return false;
  }
  if (first_ && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
  first_ = false;
  return true;
}

// False when the text ended before this line began.
bool LineReader::readLine(std::string& line) {
  std::streambuf* buffer = in_.rdbuf();
  if (!buffer) return false;
  using Traits = std::streambuf::traits_type;
  bool any = false;
  for (int c = buffer->sbumpc(); c != Traits::eof(); c = buffer->sbumpc()) {
    any = true;
    if (c == '\n') return true;
    if (c == '\r') {
      if (buffer->sgetc() == '\n') buffer->sbumpc();
      return true;
    }
    if (line.size() == kMaxLineBytes) {
      error_ = "a line longer than " + std::to_string(kMaxLineBytes) + " bytes";
      return false;
    }
    line.push_back(static_cast<char>(c));
  }
  return any;
}

}  // namespace files
