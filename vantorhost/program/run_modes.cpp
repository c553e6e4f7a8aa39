#include "vantorhost/program/run_modes.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "bridge/vbvis.h"
#include "vantorhost/base/log.h"
#include "vantorhost/run/run_headless.h"
#include "vantorhost/run/run_script.h"
#include "vantorhost/session/plugin_library.h"
#ifdef SONVERO_DESKTOP
#include "vantorhost/desktop/run_desktop.h"
#endif

namespace vantorhost {

namespace {

// The plug-in finds its settings folder through the environment, so the
// option must be set before the library is loaded.
void applySettingsDir(const HostOptions& options) {
  if (!options.settingsDir.empty()) setenv("SONVERO_SETTINGS_DIR", options.settingsDir.c_str(), 1);
}

void printSource(const char* name, const char* description, void*) {
  std::cout << "pulse:" << name << "  " << description << "\n";
}

// The capture sources the sound server offers, as --audio takes them.
int listSources() {
  if (vbvis_list_sources(&printSource, nullptr) < 0) {
    hostLog("no sound server answers");
    return 1;
  }
  std::cout << "pulse  (the monitor of the default output)" << std::endl;
  return 0;
}

// Each spectrum pixel's frequency range, so a user knows which pixels hold
// the kick drum, the bass or the voice.
int listBins() {
  std::cout << "pixel  from Hz    to Hz\n";
  for (std::int32_t bin = 0; bin < vbvis_bin_count(); ++bin) {
    double from = 0, to = 0;
    vbvis_bin_range(bin, &from, &to);
    char line[64];
    std::snprintf(line, sizeof line, "%5d %8.1f %8.1f\n", bin + 1, from, to);
    std::cout << line;
  }
  std::cout.flush();
  return 0;
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
#ifdef SONVERO_DESKTOP
      return runDesktop(options);
#else
      hostLog("no desktop in this build; running headless (Ctrl-C to stop)");
      return runHeadless(options);
#endif
    case HostOptions::Mode::ListSources:
      return listSources();
    case HostOptions::Mode::ListBins:
      return listBins();
  }
  return 0;
}

}  // namespace vantorhost
