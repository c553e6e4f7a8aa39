#include "vantorhost/session/host_session.h"

#include <algorithm>
#include <stdexcept>

#include "toolkit/application.h"
#include "vantorhost/base/log.h"

namespace vantorhost {

HostSession::HostSession(std::string pluginPath, tk::EventLoop& loop)
    : pluginPath_(std::move(pluginPath)), loop_(loop) {
  helper_ = std::make_shared<HostHelper>(channels_, pluginBeatCounter_, [this] { return loop_.nowMs(); });
}

HostSession::~HostSession() { stop(); }

void HostSession::start(const std::function<void()>& beforeMainWindow) {
  library_ = std::make_unique<PluginLibrary>(pluginPath_);
  plugin_ = library_->create();
  std::string title = "Sonvero host";
  std::string file = pluginPath_;
  plugin_->plugin().Init(title, file, helper_);
  moduleInfo_ = plugin_->module().GetModuleInfo();
  if (!moduleInfo_) throw std::runtime_error("the plug-in gave no module information: " + pluginPath_);
  if (beforeMainWindow) beforeMainWindow();
  openMainWindow();
}

void HostSession::openMainWindow() {
  if (tk::Form* window = mainWindow()) tk::app().runEvent([window] { window->show(); });
}

void HostSession::stop() {
  tk::app().discardAll();
  moduleInfo_.reset();
  plugin_.reset();
  library_.reset();
}

void HostSession::setHostDesign(const HostDesign& design) {
  if (design == hostDesign_) return;
  if (design.fixtures != hostDesign_.fixtures) {
    const std::vector<FixturePlacement> before = hostDesign_.fixtures;
    patch_.clear();
    for (const FixturePlacement& placement : design.fixtures) {
      // Shows and the patch window check placements before they come here.
      if (const std::optional<std::string> refused = patch_.place(placement, fixtureLibrary_))
        hostLog("fixture " + placement.name + " left out: " + *refused);
      else if (const PatchedFixture* f = patch_.fixture(placement.name);
               !f->problem.empty() && std::find(before.begin(), before.end(), placement) == before.end())
        hostLog("fixture " + placement.name + ": " + f->problem + "; it lights nothing, and its line is kept");
    }
  }
  hostDesign_ = design;
  hostDesign_.fixtures = patch_.placements();
  // A watcher may unwatch itself (or another) while being told.
  const auto watchers = hostDesignWatchers_;
  for (const auto& [id, watcher] : watchers) watcher(hostDesign_);
}

std::optional<std::string> HostSession::placeFixture(const FixturePlacement& placement) {
  FixturePatch trial = patch_;
  if (std::optional<std::string> refused = trial.place(placement, fixtureLibrary_)) return refused;
  HostDesign design = hostDesign_;
  design.fixtures = trial.placements();
  setHostDesign(design);
  return {};
}

bool HostSession::removeFixture(const std::string& name) {
  if (!patch_.fixture(name)) return false;
  HostDesign design = hostDesign_;
  std::erase_if(design.fixtures, [&](const FixturePlacement& p) { return p.name == name; });
  setHostDesign(design);
  return true;
}

int HostSession::watchHostDesign(HostDesignWatcher watcher) {
  hostDesignWatchers_.emplace(nextWatcher_, std::move(watcher));
  return nextWatcher_++;
}

void HostSession::reload() {
  stop();
  start();
}

}  // namespace vantorhost
