#include "vantorhost/run/host_settings.h"

#include <charconv>
#include <filesystem>
#include <sstream>
#include <string_view>
#include <vector>

#include "files/text_lines.h"
#include "vantorhost/base/log.h"

namespace vantorhost {

namespace {

// Far more than the few lines the host writes.
constexpr std::size_t kMaxBytes = 64 * 1024;
// Window sides and positions beyond any screen are not kept.
constexpr int kMaxPixels = 100'000;

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

std::optional<WindowPlace> placeOf(std::string_view text) {
  const auto n = numbers(text);
  if (!n || n->size() != 4 || (*n)[2] <= 0 || (*n)[3] <= 0) return std::nullopt;
  return WindowPlace{(*n)[0], (*n)[1], (*n)[2], (*n)[3]};
}

std::string placeText(const WindowPlace& p) {
  return std::to_string(p.x) + " " + std::to_string(p.y) + " " + std::to_string(p.width) + " " +
         std::to_string(p.height);
}

}  // namespace

HostSettings readHostSettings(const std::filesystem::path& file, std::string* unreadable) {
  HostSettings settings;
  const files::FileRead read = files::readRegularFile(file, kMaxBytes);
  if (read.state == files::FileRead::State::Unreadable && unreadable) *unreadable = read.reason;
  if (read.state != files::FileRead::State::Read) return settings;
  const std::string_view text = read.bytes;
  for (std::size_t at = files::firstLineStart(text); at < text.size();) {
    const files::LineSpan line = files::lineAt(text, at);
    at = line.next;
    const std::string_view whole = text.substr(line.begin, line.end - line.begin);
    const auto equals = whole.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = trimmed(whole.substr(0, equals)), value = trimmed(whole.substr(equals + 1));
    if (key == "source" && !value.empty() && value.find('\0') == std::string_view::npos) {
      settings.source = std::string(value);
    } else if (key == "delay") {
      if (const auto n = numbers(value); n && n->size() == 1 && validDelay(n->front())) settings.delayMs = n->front();
    } else if (key == "master") {
      if (const auto n = numbers(value); n && n->size() == 1 && n->front() >= 0 && n->front() <= kMaxMasterPercent)
        settings.masterPercent = n->front();
    } else if (key == "gain") {
      if (const auto gain = parseGainChoice(value)) settings.gain = gain;
    } else if (key == "link") {
      if (value == "on" || value == "off") settings.link = value == "on";
    } else if (key == "host-window") {
      settings.hostWindow = placeOf(value);
    } else if (key == "main-window") {
      settings.mainWindow = placeOf(value);
    }
  }
  return settings;
}

files::ReplaceResult saveHostSettings(const std::filesystem::path& file, const HostSettings& settings) {
  std::string text = "# Sonvero's host window: its choices for the next start\n";
  if (settings.source) text += "source = " + *settings.source + "\n";
  if (settings.delayMs) text += "delay = " + std::to_string(*settings.delayMs) + "\n";
  if (settings.masterPercent) text += "master = " + std::to_string(*settings.masterPercent) + "\n";
  if (settings.gain) text += "gain = " + gainChoiceText(*settings.gain) + "\n";
  if (settings.link) text += std::string("link = ") + (*settings.link ? "on" : "off") + "\n";
  if (settings.hostWindow) text += "host-window = " + placeText(*settings.hostWindow) + "\n";
  if (settings.mainWindow) text += "main-window = " + placeText(*settings.mainWindow) + "\n";
  return files::replaceFile(file, text);
}

HostSettingsFile::HostSettingsFile(std::filesystem::path file) : file_(std::move(file)) {
  if (file_.empty()) return;
  std::string unreadable;
  settings_ = readHostSettings(file_, &unreadable);
  leaveAlone_ = !unreadable.empty();
  if (leaveAlone_)
    hostLog("cannot read the host window's choices (" + unreadable +
            "); the file is left as it is and this run's choices are not kept in it");
}

void HostSettingsFile::save() {
  if (file_.empty() || leaveAlone_) return;
  // On a first run the settings folder may not exist yet: Sonvero.ini makes
  // it only when Sonvero's window closes, after the host's choices go out.
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  const files::ReplaceResult saved = saveHostSettings(file_, settings_);
  if (!saved && !failed_) hostLog("cannot keep the host window's choices in " + file_.string() + ": " + saved.reason);
  failed_ = !saved;
}

}  // namespace vantorhost
