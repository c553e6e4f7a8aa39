#pragma once
// The host's own choices, kept for the next start in a small file beside
// Sonvero.ini (never inside it): the audio source, the output delay, the
// grand master, the gain ahead of the analysis, whether Link is on and
// where the two windows stood. The blackout is never kept: a start is
// never dark by surprise. Lines "key = value"; a line that cannot be read
// (an unknown key, a value out of range) is ignored and named, and like
// comments and blank lines stays in the file as it was, so a damaged or
// newer file costs only what it lost.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/safe_file.h"
#include "vantorhost/base/gain_choice.h"

namespace vantorhost {

inline constexpr const char* kHostSettingsName = "Sonvero.host";

// A window's place on the screen, frame included, in pixels.
struct WindowPlace {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const WindowPlace&) const = default;
};

struct HostSettings {
  std::optional<std::string> source{};  // a bridge URI
  std::optional<int> delayMs{};         // 0..kMaxDelayMs in kDelayStepMs
  std::optional<WindowPlace> hostWindow{}, mainWindow{};
  std::optional<int> masterPercent{};   // 0..kMaxMasterPercent
  std::optional<GainChoice> gain{};     // "gain = auto" or "gain = DB"
  std::optional<bool> link{};           // "link = on" or "link = off"
  bool operator==(const HostSettings&) const = default;
};

inline constexpr int kMaxDelayMs = 500, kDelayStepMs = 5;
inline constexpr int kMaxMasterPercent = 100;
// Whether a delay is one the host offers.
constexpr bool validDelay(long long ms) { return ms >= 0 && ms <= kMaxDelayMs && ms % kDelayStepMs == 0; }

// A line of the file that is neither a choice, a comment nor blank: its
// number (from 1), its bytes and why it is ignored.
struct IgnoredLine {
  int number;
  std::string text, why;
};

// The choices a text holds (a later line for the same key wins) and the
// lines it ignores.
struct HostSettingsText {
  HostSettings settings;
  std::vector<IgnoredLine> ignored;
};
HostSettingsText parseHostSettings(std::string_view text);
// `text` with the choices of `now` that differ from `was` written in: each
// in place of the key's last line, or added at the end; a choice `now`
// lacks loses its lines. Comments, blank lines, unknown keys and the lines
// of unchanged choices stay byte for byte.
std::string updateHostSettings(std::string_view text, const HostSettings& was, const HostSettings& now);

// What the file holds; nothing when it is missing or cannot be read (then
// `unreadable`, when given, says why).
HostSettings readHostSettings(const std::filesystem::path& file, std::string* unreadable = nullptr);
// A new file holding just `settings`.
files::ReplaceResult saveHostSettings(const std::filesystem::path& file, const HostSettings& settings);

// The file as a live run keeps it: read once at start, each ignored line
// named in the log, and written only when a choice differs from what the
// file holds (its other lines kept). A failed save is logged once and the
// run goes on. A file that is there but cannot be read (too large, a
// folder, no permission) is named in the log and left as it is, as
// Sonvero.ini is: never replaced by the few choices of this run.
class HostSettingsFile {
 public:
  // An empty path keeps nothing.
  explicit HostSettingsFile(std::filesystem::path file);
  HostSettings& settings() { return settings_; }
  void save();
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  HostSettings settings_;
  std::string text_;      // the file as it stands on disk
  HostSettings written_;  // what text_ holds
  bool failed_ = false;
  bool leaveAlone_ = false;
};

}  // namespace vantorhost
