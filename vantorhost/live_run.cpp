#include "vantorhost/live_run.h"

#include <csignal>
#include <stdexcept>
#include <string>

#include "audio/vbvis/vbvis.h"
#include "toolkit/application.h"
#include "vantorhost/log.h"

namespace vantorhost {

namespace {

volatile std::sig_atomic_t stopSignalled = 0;

void onStopSignal(int) { stopSignalled = 1; }

}  // namespace

bool openAudioSource(const HostOptions& options) {
  const std::string uri = options.audio.value_or("silence");
  if (vbvis_open(uri.c_str()) != 0) {
    hostLog("cannot take the audio source " + uri + ": " + vbvis_open_error());
    return false;
  }
  hostLog("audio source: " + uri);
  return true;
}

void catchStopSignals() {
  std::signal(SIGINT, onStopSignal);
  std::signal(SIGTERM, onStopSignal);
  // The terminal of a run closing is a stop like any other.
  std::signal(SIGHUP, onStopSignal);
  std::signal(SIGPIPE, SIG_IGN);
}

bool stopRequested() { return stopSignalled != 0; }

bool startPlugin(HostSession& session, KeptShow& show) {
  try {
    // The tables before the main window, so that it lists the show's bars;
    // the parameters after it has read Sonvero.ini, so that the show's win.
    session.start([&] {
      if (IPluginDiagnostics* plugin = session.diagnostics()) show.fillTables(*plugin);
    });
    if (IPluginDiagnostics* plugin = session.diagnostics()) tk::app().runEvent([&] { show.setParameters(*plugin); });
    return true;
  } catch (const std::runtime_error& e) {
    hostLog(e.what());
    return false;
  }
}

}  // namespace vantorhost
