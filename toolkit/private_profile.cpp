#include "toolkit/private_profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "toolkit/windows1252.h"

namespace tk {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// One line of the file: its text runs from `begin` to `end`, the next line
// starts at `next` (after CR LF, LF or CR).
struct LineSpan {
  std::size_t begin, end, next;
};

std::vector<LineSpan> splitLines(std::string_view text) {
  std::vector<LineSpan> lines;
  std::size_t pos = 0;
  // A byte-order mark left by a text editor is not part of the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.push_back({pos, text.size(), text.size()});
      break;
    }
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

std::string_view trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Case folding of the Windows-1252 letters.
unsigned char fold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
  if (c == 0x9F) return 0xFF;
  return c;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// "[name]" gives the name; any other line gives nothing.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key, value;
};

// "key=value"; comments and lines without a key give nothing.
std::optional<KeyLine> keyLine(std::string_view line) {
  const std::string_view trimmed = trim(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
  const std::size_t eq = trimmed.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view key = trim(trimmed.substr(0, eq));
  if (key.empty()) return std::nullopt;
  return KeyLine{key, trim(trimmed.substr(eq + 1))};
}

// Where a key stands in a file: the first section of that name and the
// first key of that name in it.
struct Location {
  std::optional<std::size_t> section;  // line of the header
  std::optional<std::size_t> key;      // line of the key
  std::size_t lastContent = 0;         // last non-blank line of the section
};

Location locate(std::string_view text, const std::vector<LineSpan>& lines, std::string_view section,
                std::string_view key) {
  Location at;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
    if (const auto name = sectionName(line)) {
      if (at.section) break;  // the section ended
      if (sameName(*name, section)) at.section = at.lastContent = i;
      continue;
    }
    if (!at.section) continue;
    if (!trim(line).empty()) at.lastContent = i;
    if (const auto entry = keyLine(line); entry && sameName(entry->key, key)) {
      at.key = i;
      return at;
    }
  }
  return at;
}

std::optional<std::string> readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Writes a temporary file beside the target and renames it over the target:
// readers see the old file or the new one, never a part.
bool replaceFile(const std::filesystem::path& file, std::string_view bytes) {
  std::error_code ec;
  std::filesystem::path target = file;
  if (std::filesystem::is_symlink(file, ec)) {
    std::filesystem::path resolved = std::filesystem::canonical(file, ec);
    if (!ec) target = resolved;
  }
  std::string temp = target.string() + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  struct stat old {};
  const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

std::string_view cut(std::string_view text, std::size_t bufferSize) {
  return text.substr(0, bufferSize == 0 ? 0 : bufferSize - 1);
}

std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

std::string getPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize, const std::filesystem::path& file) {
  const std::string fallback = cp1252::fromUtf8(defaultValue);
  const std::optional<std::string> text = readFile(file);
  if (!text) return cp1252::toUtf8(cut(fallback, bufferSize));
  const std::vector<LineSpan> lines = splitLines(*text);
  const Location at = locate(*text, lines, cp1252::fromUtf8(section), cp1252::fromUtf8(key));
  if (!at.key) return cp1252::toUtf8(cut(fallback, bufferSize));
  const LineSpan& line = lines[*at.key];
  const std::string_view value = unquote(keyLine(std::string_view(*text).substr(line.begin, line.end - line.begin))->value);
  return cp1252::toUtf8(cut(value, bufferSize));
}

bool writePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::filesystem::path& file) {
  const std::string section1252 = cp1252::fromUtf8(section);
  const std::string key1252 = cp1252::fromUtf8(key);
  const std::string value1252 = cp1252::fromUtf8(value);
  std::optional<std::string> existing = readFile(file);
  std::error_code ec;
  // A file that is there but cannot be read must not be replaced by one key.
  if (!existing && std::filesystem::exists(file, ec)) return false;
  std::string text = existing.value_or(std::string());
  const std::vector<LineSpan> lines = splitLines(text);
  const Location at = locate(text, lines, section1252, key1252);

  if (at.key) {
    // The key keeps its spelling and its place; only its value changes.
    const LineSpan& line = lines[*at.key];
    const std::string_view spelling = keyLine(std::string_view(text).substr(line.begin, line.end - line.begin))->key;
    const std::string replacement = std::string(spelling) + "=" + value1252;
    text.replace(line.begin, line.end - line.begin, replacement);
  } else if (at.section) {
    const LineSpan& last = lines[at.lastContent];
    std::string insert;
    if (last.next == last.end) insert += kLineEnd;  // the file ended without a line end
    insert += key1252 + "=" + value1252;
    insert += kLineEnd;
    text.insert(last.next, insert);
  } else {
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += kLineEnd;
    text += "[" + section1252 + "]";
    text += kLineEnd;
    text += key1252 + "=" + value1252;
    text += kLineEnd;
  }
  return replaceFile(file, text);
}

}  // namespace tk
