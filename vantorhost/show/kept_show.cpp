#include "vantorhost/show/kept_show.h"

#include <stdexcept>

#include "files/printable.h"
#include "files/set_aside.h"
#include "vantorhost/base/log.h"
#include "vantorhost/show/show_file.h"

namespace vantorhost {

KeptShow::KeptShow(const HostOptions& options) : origin_(options.showPath), startEmpty_(options.noShow) {}

void KeptShow::fillTables(IPluginDesign& plugin) {
  keptFile_ = std::filesystem::path(plugin.settingsFolder()) / kKeptShowName;
  // Read also when another show starts, to know whether it may be replaced at quit.
  ShowRead kept = readShowFile(keptFile_, plugin);
  keepUsersFile_ = !kept.design && !kept.missing && !setAside(kept.message);
  if (!origin_.empty()) {
    ShowRead chosen = readShowFile(origin_, plugin);
    if (!chosen.design) throw std::runtime_error(chosen.message);
    design_ = std::move(chosen.design);
    hostLog("starting with the show " + origin_.string());
  } else if (!startEmpty_ && kept.design) {
    design_ = std::move(kept.design);
    hostLog("restored the last design from " + keptFile_.string());
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

void KeptShow::setParameters(IPluginDesign& plugin) {
  if (design_) applyParameters(plugin, *design_);
  design_.reset();
}

void KeptShow::saveAtQuit(IPluginDesign& plugin) {
  if (keptFile_.empty() || keepUsersFile_) return;
  std::error_code ec;
  std::filesystem::create_directories(keptFile_.parent_path(), ec);
  if (const ShowOutcome saved = saveShow(plugin, keptFile_); !saved) hostLog(saved.message);
  else hostLog("the design is kept in " + keptFile_.string());
}

}  // namespace vantorhost
