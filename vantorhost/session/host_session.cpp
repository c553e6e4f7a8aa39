#include "vantorhost/session/host_session.h"

#include <stdexcept>

#include "toolkit/application.h"

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
  hostDesign_ = design;
  // A watcher may unwatch itself (or another) while being told.
  const auto watchers = hostDesignWatchers_;
  for (const auto& [id, watcher] : watchers) watcher(hostDesign_);
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
