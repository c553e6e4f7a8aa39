#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "interface/VantorTypeLib.h"
#include "toolkit/event_loop.h"
#include "toolkit/form.h"
#include "vantorhost/base/channel_buffer.h"
#include "vantorhost/plugin_beats/plugin_beat_counter.h"
#include "vantorhost/fixtures/fixture_library.h"
#include "vantorhost/fixtures/fixture_patch.h"
#include "vantorhost/session/host_design.h"
#include "vantorhost/session/host_helper.h"
#include "vantorhost/session/plugin_library.h"

namespace vantorhost {

// The host with its plug-in loaded: creates the plug-in object, calls Init
// with the helper, reads the module information and loads the window it
// names. The same for the desktop, headless runs and scripts.
class HostSession {
 public:
  HostSession(std::string pluginPath, tk::EventLoop& loop);
  ~HostSession();

  // Loads the library and the plug-in; throws std::runtime_error on failure
  // (no library, no factory, no plug-in object, no module information).
  // `beforeMainWindow` runs once the plug-in is there and before its
  // window loads (the host fills the tables there).
  void start(const std::function<void()>& beforeMainWindow = {});
  // Unloads the plug-in module (its windows leave without events) and loads
  // it anew: the tables start from zero.
  void reload();
  // Drops the plug-in at the end of the process: nothing is saved unless
  // the window was closed before.
  void stop();

  tk::Form* mainWindow() const { return moduleInfo_ ? moduleInfo_->window : nullptr; }
  const VantorTypeLib::ModuleInfo* moduleInfo() const { return moduleInfo_.get(); }
  IPluginDesign* design() const { return library_ ? library_->design() : nullptr; }
  // Loads and shows the main window again after it was closed.
  void openMainWindow();

  // The host's part of the design; it outlives a reload of the plug-in.
  const HostDesign& hostDesign() const { return hostDesign_; }
  // Replaces it and tells every watcher when it changed.
  void setHostDesign(const HostDesign& design);
  using HostDesignWatcher = std::function<void(const HostDesign&)>;
  // A watcher told of each change until unwatched by the number it was given.
  int watchHostDesign(HostDesignWatcher watcher);
  void unwatchHostDesign(int id) { hostDesignWatchers_.erase(id); }

  // The fixture library (read on first use) and the patch the host design's
  // fixtures make with it.
  FixtureLibrary& fixtureLibrary() { return fixtureLibrary_; }
  const FixturePatch& patch() const { return patch_; }
  // Places (or moves) a fixture in the host design; why not when refused.
  std::optional<std::string> placeFixture(const FixturePlacement& placement);
  // Removes the fixture of that name; false when there is none.
  bool removeFixture(const std::string& name);

  ChannelBuffer& channels() { return channels_; }
  PluginBeatCounter& pluginBeatCounter() { return pluginBeatCounter_; }
  HostHelper& helper() { return *helper_; }
  tk::EventLoop& loop() { return loop_; }

 private:
  std::string pluginPath_;
  tk::EventLoop& loop_;
  ChannelBuffer channels_;
  PluginBeatCounter pluginBeatCounter_;
  std::shared_ptr<HostHelper> helper_;
  std::unique_ptr<PluginLibrary> library_;
  std::unique_ptr<VantorTypeLib::IPlugInObject> plugin_;
  std::unique_ptr<VantorTypeLib::ModuleInfo> moduleInfo_;
  HostDesign hostDesign_;
  FixtureLibrary fixtureLibrary_;
  FixturePatch patch_;
  std::map<int, HostDesignWatcher> hostDesignWatchers_;
  int nextWatcher_ = 0;
};

}  // namespace vantorhost
