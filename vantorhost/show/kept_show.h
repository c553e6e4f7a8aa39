#pragma once
// The light design kept between live runs in Sonvero.show beside
// Sonvero.ini: restored at start (or the show --show names, or nothing with
// --no-show) and saved when Sonvero quits. A design that differs from the
// kept one leaves the old file beside it as Sonvero.show.bak (one
// generation), so a run with --no-show or another show never costs the
// last design. A Sonvero.show that cannot be opened is moved aside as
// Sonvero.show.unreadable-YYYYMMDD-HHMMSS: the run starts empty, says so,
// and keeps its own design at quit (where it cannot be moved, the file
// stays and is not overwritten). Sonvero.show also notes, in a comment
// below its first line, the show file the design came from and whether it
// had changes not saved there, so that the next start names it again; a
// note that is missing or damaged costs the name, never the design.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "vantorhost/base/host_options.h"
#include "vantorhost/session/host_session.h"
#include "vantorhost/show/show_design.h"

namespace vantorhost {

inline constexpr const char* kKeptShowName = "Sonvero.show";
inline constexpr const char* kKeptShowBackupSuffix = ".bak";

// The show file a design came from; none: empty. `changed`: the design has
// changes that are not saved in it.
struct ShowOrigin {
  std::filesystem::path file;
  bool changed = false;
  bool operator==(const ShowOrigin&) const = default;
};

class KeptShow {
 public:
  explicit KeptShow(const HostOptions& options);

  // Before the main window loads: reads the show and fills the tables.
  // Throws std::runtime_error when the show --show names cannot be opened.
  void fillTables(HostSession& session);
  // Once the main window has read Sonvero.ini: the show's parameters (and
  // the host's part) win.
  void setParameters(HostSession& session);
  // At quit: the design goes into Sonvero.show, the old one (when it
  // differs) into Sonvero.show.bak; a failure is logged.
  void saveAtQuit(HostSession& session);

  // The show file the design came from: --show FILE, or the one the
  // restored design names; none with --no-show.
  const ShowOrigin& origin() const { return origin_; }
  // Where the design stands now, for Sonvero.show at quit (the desktop's
  // Show menu opens and saves other shows).
  void setOrigin(ShowOrigin origin) { origin_ = std::move(origin); }
  // Where the design is kept, once the plug-in has named its settings folder.
  const std::filesystem::path& keptFile() const { return keptFile_; }

 private:
  // Moves the kept show that cannot be opened aside; false when it stays.
  bool setAside(const std::string& why);

  std::filesystem::path chosen_;  // --show FILE
  ShowOrigin origin_;
  bool startEmpty_;
  std::filesystem::path keptFile_;  // known once the plug-in names its settings folder
  std::optional<ShowDesign> design_;
  bool keepUsersFile_ = false;      // Sonvero.show is there but could not be opened
};

// The backup beside a kept show: Sonvero.show.bak.
std::filesystem::path keptShowBackup(const std::filesystem::path& keptFile);

// The comment line that notes the origin ("# from the show PATH", or
// "# changed from the show PATH"); nothing when there is none, or when its
// path is not absolute or would not read back from one line as it is.
std::optional<std::string> originNote(const ShowOrigin& origin);
// The origin a show's text notes on its second line; none without a note.
ShowOrigin notedOrigin(std::string_view showText);

}  // namespace vantorhost
