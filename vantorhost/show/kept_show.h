#pragma once
// The light design kept between live runs in Sonvero.show beside
// Sonvero.ini: restored at start (or the show --show names, or nothing with
// --no-show) and saved when Sonvero quits. A Sonvero.show that cannot be
// opened is moved aside as Sonvero.show.unreadable-YYYYMMDD-HHMMSS: the run
// starts empty, says so, and keeps its own design at quit (where it cannot
// be moved, the file stays and is not overwritten).
#include <filesystem>
#include <optional>
#include <string>

#include "interface/plugin_design.h"
#include "vantorhost/base/host_options.h"
#include "vantorhost/show/show_design.h"

namespace vantorhost {

inline constexpr const char* kKeptShowName = "Sonvero.show";

class KeptShow {
 public:
  explicit KeptShow(const HostOptions& options);

  // Before the main window loads: reads the show and fills the tables.
  // Throws std::runtime_error when the show --show names cannot be opened.
  void fillTables(IPluginDesign& plugin);
  // Once the main window has read Sonvero.ini: the show's parameters win.
  void setParameters(IPluginDesign& plugin);
  // At quit: the design goes into Sonvero.show; a failure is logged.
  void saveAtQuit(IPluginDesign& plugin);

  // The show file the design came from (--show FILE); empty otherwise.
  const std::filesystem::path& origin() const { return origin_; }

 private:
  // Moves the kept show that cannot be opened aside; false when it stays.
  bool setAside(const std::string& why);

  std::filesystem::path origin_;
  bool startEmpty_;
  std::filesystem::path keptFile_;  // known once the plug-in names its settings folder
  std::optional<ShowDesign> design_;
  bool keepUsersFile_ = false;      // Sonvero.show is there but could not be opened
};

}  // namespace vantorhost
