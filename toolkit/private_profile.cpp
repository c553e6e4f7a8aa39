#include "toolkit/private_profile.h"

#include <algorithm>

#include "files/text_lines.h"
#include "toolkit/windows1252.h"

namespace tk {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

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

// FNV-1a of the folded name: names that match hash alike.
std::uint64_t nameHash(std::string_view name) {
  std::uint64_t h = 14695981039346656037u;
  for (char c : name) h = (h ^ fold(static_cast<unsigned char>(c))) * 1099511628211u;
  return h;
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

std::string keyLineText(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line += value;
  return line;
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

PrivateProfile PrivateProfile::load(const std::filesystem::path& file) {
  PrivateProfile profile(file);
  files::FileRead read = files::readRegularFile(file, kMaxProfileBytes);
  if (read.state == files::FileRead::State::Unreadable) {
    profile.readable_ = false;
    profile.readError_ = std::move(read.reason);
  }
  profile.text_ = std::move(read.bytes);
  profile.indexSections();
  return profile;
}

// One pass over the text: where each section's lines start and end, and
// where a key added to it goes.
void PrivateProfile::indexSections() {
  const std::string_view text = text_;
  for (std::size_t pos = files::firstLineStart(text); pos < text.size();) {
    const files::LineSpan span = files::lineAt(text, pos);
    const std::string_view line = text.substr(span.begin, span.end - span.begin);
    if (const auto name = sectionName(line)) {
      if (!sections_.empty()) sections_.back().end = static_cast<Offset>(span.begin);
      Section& section = sections_.emplace_back();
      section.name = *name;
      section.body = section.insertAt = static_cast<Offset>(span.next);
    } else if (!sections_.empty() && !trim(line).empty()) {
      sections_.back().insertAt = static_cast<Offset>(span.next);
    }
    pos = span.next;
  }
  if (!sections_.empty()) sections_.back().end = static_cast<Offset>(text.size());
}

std::string_view PrivateProfile::lineText(Offset line) const {
  if (const auto it = replaced_.find(line); it != replaced_.end()) return it->second;
  const files::LineSpan span = files::lineAt(text_, line);
  return std::string_view(text_).substr(span.begin, span.end - span.begin);
}

PrivateProfile::Section* PrivateProfile::findSection(std::string_view name) {
  for (std::vector<Section>* list : {&sections_, &addedSections_})
    for (Section& s : *list)
      if (sameName(s.name, name)) return &s;
  return nullptr;
}

PrivateProfile::Found PrivateProfile::findKey(Section& section, std::string_view key) {
  if (!section.indexed) {
    section.indexed = true;
    const std::string_view text = text_;
    for (std::size_t pos = section.body; pos < section.end;) {
      const files::LineSpan span = files::lineAt(text, pos);
      if (const auto entry = keyLine(text.substr(span.begin, span.end - span.begin)))
        section.keys.push_back({nameHash(entry->key), static_cast<Offset>(span.begin)});
      pos = span.next;
    }
    // Stable: of two keys of the same name the first stays first.
    std::stable_sort(section.keys.begin(), section.keys.end(),
                     [](const KeyEntry& a, const KeyEntry& b) { return a.hash < b.hash; });
  }
  const std::uint64_t hash = nameHash(key);
  auto it = std::lower_bound(section.keys.begin(), section.keys.end(), hash,
                             [](const KeyEntry& e, std::uint64_t h) { return e.hash < h; });
  for (; it != section.keys.end() && it->hash == hash; ++it)
    if (sameName(keyLine(lineText(it->line))->key, key)) return {it->line, nullptr};
  for (AddedKey& added : section.added)
    if (sameName(added.key, key)) return {std::nullopt, &added};
  return {};
}

std::string PrivateProfile::get(std::string_view section, std::string_view key, std::string_view defaultValue,
                                std::size_t bufferSize) {
  Section* s = findSection(cp1252::fromUtf8(section));
  const Found found = s ? findKey(*s, cp1252::fromUtf8(key)) : Found{};
  // An added key reads as the line it will be in the file.
  const std::string added = found.added ? keyLineText(found.added->key, found.added->value) : std::string();
  const std::optional<KeyLine> entry =
      found.line ? keyLine(lineText(*found.line)) : found.added ? keyLine(added) : std::nullopt;
  if (!entry) return cp1252::toUtf8(cut(cp1252::fromUtf8(defaultValue), bufferSize));
  return cp1252::toUtf8(cut(unquote(entry->value), bufferSize));
}

void PrivateProfile::set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string section1252 = cp1252::fromUtf8(section);
  const std::string key1252 = cp1252::fromUtf8(key);
  std::string value1252 = cp1252::fromUtf8(value);
  Section* s = findSection(section1252);
  if (!s) {
    Section& added = addedSections_.emplace_back();
    added.name = section1252;
    added.added.push_back({key1252, std::move(value1252)});
    return;
  }
  const Found found = findKey(*s, key1252);
  if (found.line) {
    // The key keeps its spelling and its place; only its value changes.
    const std::string spelling(keyLine(lineText(*found.line))->key);
    replaced_[*found.line] = keyLineText(spelling, value1252);
  } else if (found.added) {
    found.added->value = std::move(value1252);
  } else {
    s->added.push_back({key1252, std::move(value1252)});
  }
}

// The file's text with every change, in pieces of the old text and of
// `edits`: replaced lines in place, added keys after their section's last
// line, added sections at the end. Text that follows a last line without
// line end starts on a line of its own.
std::vector<std::string_view> PrivateProfile::render(std::vector<Edit>& edits) const {
  for (const auto& [line, text] : replaced_) edits.push_back({line, files::lineAt(text_, line).end, text, false});
  const auto keysText = [](const Section& s) {
    std::string text;
    for (const AddedKey& k : s.added) text += keyLineText(k.key, k.value) + std::string(kLineEnd);
    return text;
  };
  for (const Section& s : sections_)
    if (!s.added.empty()) edits.push_back({s.insertAt, s.insertAt, keysText(s), true});
  for (const Section& s : addedSections_)
    edits.push_back({text_.size(), text_.size(), "[" + s.name + "]" + std::string(kLineEnd) + keysText(s), true});
  std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.from < b.from; });

  std::vector<std::string_view> pieces;
  const auto add = [&pieces](std::string_view piece) {
    if (!piece.empty()) pieces.push_back(piece);
  };
  const std::string_view text = text_;
  std::size_t pos = 0;
  for (const Edit& e : edits) {
    add(text.substr(pos, e.from - pos));
    const bool lineOpen = !pieces.empty() && pieces.back().back() != '\n' && pieces.back().back() != '\r';
    if (e.newLine && lineOpen) add(kLineEnd);
    add(e.text);
    pos = e.to;
  }
  add(text.substr(pos));
  return pieces;
}

files::ReplaceResult PrivateProfile::save() const {
  // What could not be read must not be replaced by what little is known.
  if (!readable_) return {false, readError_};
  std::vector<Edit> edits;
  return files::replaceFile(file_, render(edits));
}

std::string getPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize, const std::filesystem::path& file) {
  return PrivateProfile::load(file).get(section, key, defaultValue, bufferSize);
}

bool writePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::filesystem::path& file) {
  PrivateProfile profile = PrivateProfile::load(file);
  profile.set(section, key, value);
  return profile.save().ok;
}

}  // namespace tk
