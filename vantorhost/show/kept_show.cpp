#include "vantorhost/show/kept_show.h"

#include <stdexcept>

#include "files/printable.h"
#include "files/safe_file.h"
#include "files/set_aside.h"
#include "files/text_lines.h"
#include "vantorhost/base/log.h"
#include "vantorhost/show/show_file.h"
#include "vantorhost/show/show_text.h"

namespace vantorhost {

namespace {

constexpr std::string_view kFromNote = "# from the show ", kChangedNote = "# changed from the show ";

}  // namespace

std::optional<std::string> originNote(const ShowOrigin& origin) {
  const std::string path = origin.file.string();
  // A path that the note would have to escape is not noted: it would not come back as it was.
  if (!origin.file.is_absolute() || files::printable(path, files::kPathLimit) != path) return std::nullopt;
  return std::string(origin.changed ? kChangedNote : kFromNote) + path;
}

ShowOrigin notedOrigin(std::string_view text) {
  std::size_t at = files::firstLineStart(text);
  if (at >= text.size()) return {};
  at = files::lineAt(text, at).next;
  if (at >= text.size()) return {};
  const files::LineSpan second = files::lineAt(text, at);
  const std::string_view line = text.substr(second.begin, second.end - second.begin);
  for (const bool changed : {false, true}) {
    const std::string_view note = changed ? kChangedNote : kFromNote;
    if (line.starts_with(note) && line.size() > note.size()) {
      ShowOrigin origin{std::string(line.substr(note.size())), changed};
      if (originNote(origin) == std::string(line)) return origin;
    }
  }
  return {};
}

KeptShow::KeptShow(const HostOptions& options) : chosen_(options.showPath), startEmpty_(options.noShow) {
  std::error_code ec;
  if (!chosen_.empty()) origin_.file = std::filesystem::absolute(chosen_, ec);
}

std::filesystem::path keptShowBackup(const std::filesystem::path& keptFile) {
  std::filesystem::path backup = keptFile;
  backup += kKeptShowBackupSuffix;
  return backup;
}

void KeptShow::fillTables(HostSession& session) {
  IPluginDesign& plugin = *session.design();
  keptFile_ = std::filesystem::path(plugin.settingsFolder()) / kKeptShowName;
  // Read also when another show starts, to know whether it may be replaced at quit.
  ShowRead kept = readShowFile(keptFile_, plugin, &session.fixtureLibrary());
  keepUsersFile_ = !kept.design && !kept.missing && !setAside(kept.message);
  if (!chosen_.empty()) {
    ShowRead chosen = readShowFile(chosen_, plugin, &session.fixtureLibrary());
    if (!chosen.design) throw std::runtime_error(chosen.message);
    design_ = std::move(chosen.design);
    hostLog("starting with the show " + chosen_.string());
  } else if (!startEmpty_ && kept.design) {
    design_ = std::move(kept.design);
    origin_ = notedOrigin(kept.text);
    hostLog("restored the last design from " + keptFile_.string() +
            (origin_.file.empty() ? ""
                                  : " (the show " + files::printable(origin_.file.string(), files::kPathLimit) +
                                        (origin_.changed ? ", with changes not saved in it)" : ")")));
  } else if (!startEmpty_ && !kept.design && !kept.missing) {
    hostLog("starting with an empty design");
  }
  if (keepUsersFile_) hostLog(keptFile_.string() + " is left as it is: the design is not kept there at quit");
  if (design_) applyTables(plugin, *design_);
}

// A Sonvero.show that cannot be opened is moved out of the way under a name
// that says so, for the user to mend, so that this session's design can be
// kept at quit; where it cannot be moved it stays, and is not overwritten.
bool KeptShow::setAside(const std::string& why) {
  const files::SetAside moved = files::setAside(keptFile_, "unreadable");
  if (moved) hostLog(why + "; moved it aside to " + files::printable(moved.to.string(), files::kPathLimit));
  else hostLog(why + "; cannot move it aside (" + moved.reason + ")");
  return moved.ok;
}

void KeptShow::setParameters(HostSession& session) {
  if (design_) {
    applyParameters(*session.design(), *design_);
    session.setHostDesign(design_->host);
  }
  design_.reset();
}

void KeptShow::saveAtQuit(HostSession& session) {
  IPluginDesign* plugin = session.design();
  if (!plugin || keptFile_.empty() || keepUsersFile_) return;
  std::error_code ec;
  std::filesystem::create_directories(keptFile_.parent_path(), ec);
  std::vector<std::string> lines = showLines(readDesign(session), plugin->parameters());
  if (const std::optional<std::string> note = originNote(origin_)) lines.insert(lines.begin() + 1, *note);
  const std::string text = showText(lines);
  const files::FileRead old = files::readRegularFile(keptFile_, kMaxShowBytes);
  if (old.state == files::FileRead::State::Read && old.bytes == text) {
    hostLog("the design is kept in " + keptFile_.string() + " (unchanged)");
    return;
  }
  // What cannot be read now cannot be backed up: it stays as it is.
  if (old.state == files::FileRead::State::Unreadable) {
    hostLog("cannot keep the design in " + keptFile_.string() + ": " + old.reason + "; it is left as it is");
    return;
  }
  const std::filesystem::path backup = keptShowBackup(keptFile_);
  if (old.state == files::FileRead::State::Read) {
    if (const files::ReplaceResult kept = files::replaceFile(backup, old.bytes); !kept) {
      hostLog("cannot keep the last design in " + backup.string() + " (" + kept.reason + "); " + keptFile_.string() +
              " is left as it is, and this run's design is not kept");
      return;
    }
  }
  if (const ShowOutcome saved = saveShowText(text, plugin->parameters(), keptFile_); !saved) hostLog(saved.message);
  else if (old.state == files::FileRead::State::Read)
    hostLog("the design is kept in " + keptFile_.string() + "; the one it replaced is in " + backup.string());
  else hostLog("the design is kept in " + keptFile_.string());
}

}  // namespace vantorhost
