#include "vantorhost/run/host_settings.h"

#include <charconv>
#include <filesystem>
#include <sstream>

#include "files/printable.h"
#include "files/text_lines.h"
#include "vantorhost/base/log.h"

namespace vantorhost {

namespace {

// Far more than the few lines the host writes.
constexpr std::size_t kMaxBytes = 64 * 1024;
// Window sides and positions beyond any screen are not kept.
constexpr int kMaxPixels = 100'000;
constexpr std::string_view kHeader = "# Sonvero's host window: its choices for the next start\n";

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Blank-separated whole numbers, all of them within ±kMaxPixels.
std::optional<std::vector<int>> numbers(std::string_view text) {
  std::vector<int> out;
  std::istringstream words{std::string(text)};
  for (std::string word; words >> word;) {
    int n = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), n);
    if (error != std::errc() || end != word.data() + word.size() || n < -kMaxPixels || n > kMaxPixels)
      return std::nullopt;
    out.push_back(n);
  }
  return out;
}

std::optional<int> number(std::string_view text) {
  const auto n = numbers(text);
  if (!n || n->size() != 1) return std::nullopt;
  return n->front();
}

std::optional<WindowPlace> placeOf(std::string_view text) {
  const auto n = numbers(text);
  if (!n || n->size() != 4 || (*n)[2] <= 0 || (*n)[3] <= 0) return std::nullopt;
  return WindowPlace{(*n)[0], (*n)[1], (*n)[2], (*n)[3]};
}

std::optional<std::string> placeText(const std::optional<WindowPlace>& p) {
  if (!p) return std::nullopt;
  return std::to_string(p->x) + " " + std::to_string(p->y) + " " + std::to_string(p->width) + " " +
         std::to_string(p->height);
}

std::optional<std::string> numberText(const std::optional<int>& n) {
  return n ? std::optional<std::string>(std::to_string(*n)) : std::nullopt;
}

constexpr const char* kGoodPlace = "a window's place is four whole numbers: x y width height";

// One key of the file: what a good value is (for a line that is ignored),
// how it is read into the settings (false: not a good value, and the
// settings it was read into are dropped) and written from them (nothing:
// the settings lack it).
struct Key {
  std::string_view name;
  const char* good;
  bool (*read)(std::string_view value, HostSettings& into);
  std::optional<std::string> (*write)(const HostSettings& from);
};

constexpr Key kKeys[] = {
    {"source", "a source is an audio source's name, on one line",
     [](std::string_view v, HostSettings& s) {
       s.source = std::string(v);
       return !v.empty() && v.find('\0') == std::string_view::npos;
     },
     [](const HostSettings& s) {
       // A name that would break the line is not kept.
       return s.source && s.source->find_first_of("\r\n") == std::string::npos ? s.source : std::nullopt;
     }},
    {"delay", "the delay is 0 to 500 ms in steps of 5",
     [](std::string_view v, HostSettings& s) {
       s.delayMs = number(v);
       return s.delayMs && validDelay(*s.delayMs);
     },
     [](const HostSettings& s) { return numberText(s.delayMs); }},
    {"master", "the master is a whole number from 0 to 100",
     [](std::string_view v, HostSettings& s) {
       s.masterPercent = number(v);
       return s.masterPercent && *s.masterPercent >= 0 && *s.masterPercent <= kMaxMasterPercent;
     },
     [](const HostSettings& s) { return numberText(s.masterPercent); }},
    {"gain", kGainChoiceHint,
     [](std::string_view v, HostSettings& s) {
       s.gain = parseGainChoice(v);
       return s.gain.has_value();
     },
     [](const HostSettings& s) {
       return s.gain ? std::optional<std::string>(gainChoiceText(*s.gain)) : std::nullopt;
     }},
    {"link", "Link is on or off",
     [](std::string_view v, HostSettings& s) {
       s.link = v == "on";
       return v == "on" || v == "off";
     },
     [](const HostSettings& s) {
       return s.link ? std::optional<std::string>(*s.link ? "on" : "off") : std::nullopt;
     }},
    {"host-window", kGoodPlace,
     [](std::string_view v, HostSettings& s) {
       s.hostWindow = placeOf(v);
       return s.hostWindow.has_value();
     },
     [](const HostSettings& s) { return placeText(s.hostWindow); }},
    {"main-window", kGoodPlace,
     [](std::string_view v, HostSettings& s) {
       s.mainWindow = placeOf(v);
       return s.mainWindow.has_value();
     },
     [](const HostSettings& s) { return placeText(s.mainWindow); }},
};

const Key* keyNamed(std::string_view name) {
  for (const Key& key : kKeys)
    if (key.name == name) return &key;
  return nullptr;
}

// A line's key, when it is a "key = value" line.
std::optional<std::string_view> keyOf(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return trimmed(line.substr(0, equals));
}

std::vector<files::LineSpan> linesOf(std::string_view text) {
  std::vector<files::LineSpan> lines;
  for (std::size_t at = files::firstLineStart(text); at < text.size();) {
    lines.push_back(files::lineAt(text, at));
    at = lines.back().next;
  }
  return lines;
}

}  // namespace

HostSettingsText parseHostSettings(std::string_view text) {
  HostSettingsText parsed;
  int number = 0;
  for (const files::LineSpan& span : linesOf(text)) {
    ++number;
    const std::string_view line = text.substr(span.begin, span.end - span.begin);
    const std::string_view content = trimmed(line);
    if (content.empty() || content.front() == '#') continue;
    const auto ignore = [&](std::string why) { parsed.ignored.push_back({number, std::string(line), std::move(why)}); };
    const std::optional<std::string_view> name = keyOf(content);
    if (!name) {
      ignore("not a line \"key = value\"");
      continue;
    }
    const Key* key = keyNamed(*name);
    if (!key) {
      ignore("no such key");
      continue;
    }
    // A bad value leaves the one an earlier line gave.
    HostSettings candidate = parsed.settings;
    if (key->read(trimmed(content.substr(content.find('=') + 1)), candidate)) parsed.settings = candidate;
    else ignore(key->good);
  }
  return parsed;
}

std::string updateHostSettings(std::string_view text, const HostSettings& was, const HostSettings& now) {
  std::string start(text.substr(0, files::firstLineStart(text)));
  std::vector<files::LineSpan> lines = linesOf(text);
  std::vector<std::string> out;
  for (const files::LineSpan& span : lines) out.emplace_back(text.substr(span.begin, span.next - span.begin));
  if (out.empty() && start.empty()) out.emplace_back(kHeader);
  // New lines end as the file's first line does.
  const std::string newline =
      lines.empty() || lines.front().next == lines.front().end
          ? std::string("\n")
          : std::string(text.substr(lines.front().end, lines.front().next - lines.front().end));
  for (const Key& key : kKeys) {
    const std::optional<std::string> value = key.write(now);
    if (value == key.write(was)) continue;
    const std::string line = value ? std::string(key.name) + " = " + *value : std::string();
    // The key's last line, whose value is the one read.
    std::size_t last = out.size();
    for (std::size_t i = 0; i < out.size(); ++i)
      if (keyOf(trimmed(out[i].substr(0, out[i].find_first_of("\r\n")))) == key.name) {
        if (!value) out[i].clear();
        last = i;
      }
    if (!value) continue;
    if (last < out.size()) {
      const std::size_t end = out[last].find_first_of("\r\n");
      out[last] = line + (end == std::string::npos ? std::string() : out[last].substr(end));
    } else {
      if (!out.empty() && !out.back().empty() && out.back().find_first_of("\r\n") == std::string::npos)
        out.back() += newline;
      out.push_back(line + newline);
    }
  }
  for (const std::string& line : out) start += line;
  return start;
}

HostSettings readHostSettings(const std::filesystem::path& file, std::string* unreadable) {
  const files::FileRead read = files::readRegularFile(file, kMaxBytes);
  if (read.state == files::FileRead::State::Unreadable && unreadable) *unreadable = read.reason;
  if (read.state != files::FileRead::State::Read) return {};
  return parseHostSettings(read.bytes).settings;
}

files::ReplaceResult saveHostSettings(const std::filesystem::path& file, const HostSettings& settings) {
  return files::replaceFile(file, updateHostSettings({}, {}, settings));
}

HostSettingsFile::HostSettingsFile(std::filesystem::path file) : file_(std::move(file)) {
  if (file_.empty()) return;
  const files::FileRead read = files::readRegularFile(file_, kMaxBytes);
  leaveAlone_ = read.state == files::FileRead::State::Unreadable;
  if (leaveAlone_) {
    hostLog("cannot read the host window's choices (" + read.reason +
            "); the file is left as it is and this run's choices are not kept in it");
    return;
  }
  text_ = read.bytes;
  HostSettingsText parsed = parseHostSettings(text_);
  settings_ = written_ = parsed.settings;
  const std::string name = files::printable(file_.string(), files::kPathLimit);
  for (const IgnoredLine& line : parsed.ignored)
    hostLog(name + " line " + std::to_string(line.number) + " is ignored (" + line.why +
            "): " + files::printable(line.text));
}

void HostSettingsFile::save() {
  if (file_.empty() || leaveAlone_ || settings_ == written_) return;
  // On a first run the settings folder may not exist yet: Sonvero.ini makes
  // it only when Sonvero's window closes, after the host's choices go out.
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  std::string text = updateHostSettings(text_, written_, settings_);
  const files::ReplaceResult saved = files::replaceFile(file_, text);
  if (!saved && !failed_) hostLog("cannot keep the host window's choices in " + file_.string() + ": " + saved.reason);
  failed_ = !saved;
  if (!saved) return;
  text_ = std::move(text);
  written_ = settings_;
}

}  // namespace vantorhost
