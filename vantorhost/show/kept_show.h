#pragma once
// The light design kept between live runs in Sonvero.show beside
// Sonvero.ini: restored at start (or the show --show names, or nothing with
// --no-show) and saved when Sonvero quits. A design that differs from the
// kept one leaves the old file beside it as Sonvero.show.bak (one
// generation), so a run with --no-show or another show never costs the
// last design. A Sonvero.show that cannot be opened is moved aside as
// Sonvero.show.unreadable-YYYYMMDD-HHMMSS: the run starts empty, says so,
// and keeps its own design at quit (where it cannot be moved, the file
// stays and is not overwritten).
#include <filesystem>
#include <optional>
#include <string>

#include "vantorhost/base/host_options.h"
#include "vantorhost/session/host_session.h"
#include "vantorhost/show/show_design.h"

namespace vantorhost {

inline constexpr const char* kKeptShowName = "Sonvero.show";
inline constexpr const char* kKeptShowBackupSuffix = ".bak";

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

  // The show file the design came from (--show FILE); empty otherwise.
  const std::filesystem::path& origin() const { return origin_; }
  // Where the design is kept, once the plug-in has named its settings folder.
  const std::filesystem::path& keptFile() const { return keptFile_; }

 private:
  // Moves the kept show that cannot be opened aside; false when it stays.
  bool setAside(const std::string& why);

  std::filesystem::path origin_;
  bool startEmpty_;
  std::filesystem::path keptFile_;  // known once the plug-in names its settings folder
  std::optional<ShowDesign> design_;
  bool keepUsersFile_ = false;      // Sonvero.show is there but could not be opened
};

// The backup beside a kept show: Sonvero.show.bak.
std::filesystem::path keptShowBackup(const std::filesystem::path& keptFile);

}  // namespace vantorhost
