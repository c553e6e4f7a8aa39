#include "vantorhost/run_modes.h"

#include <cstdlib>
#include <iostream>

#include "vantorhost/log.h"
#include "vantorhost/plugin_library.h"

namespace {

// The plug-in finds its settings folder through the environment, so the
// option must be set before the library is loaded.
void applySettingsDir(const HostOptions& options) {
  if (!options.settingsDir.empty()) setenv("SONVERO_SETTINGS_DIR", options.settingsDir.c_str(), 1);
}

}  // namespace

int runHost(HostOptions& options) {
  if (options.pluginPath.empty()) options.pluginPath = defaultPluginPath();
  applySettingsDir(options);
  switch (options.mode) {
    case HostOptions::Mode::Script:
      return runScript(options);
    case HostOptions::Mode::Headless:
      return runHeadless(options);
    case HostOptions::Mode::Desktop:
      hostLog("no desktop in this build; running headless (Ctrl-C to stop)");
      return runHeadless(options);
    case HostOptions::Mode::ListSources:
    case HostOptions::Mode::ListBins:
      hostLog("not available in this build");
      return 1;
    case HostOptions::Mode::Version:
      return 0;
  }
  return 0;
}
