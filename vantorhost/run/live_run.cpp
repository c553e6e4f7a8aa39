#include "vantorhost/run/live_run.h"

#include <csignal>
#include <stdexcept>
#include <string>

#include "bridge/vbvis.h"
#include "files/printable.h"
#include "toolkit/application.h"
#include "vantorhost/base/log.h"
#include "vantorhost/run/default_audio_source.h"

namespace vantorhost {

namespace {

volatile std::sig_atomic_t stopSignalled = 0;

void onStopSignal(int) { stopSignalled = 1; }

}  // namespace

bool openAudioSource(const HostOptions& options, const HostSettings& kept) {
  // The default asks the sound server: only when nothing else is chosen.
  std::string uri = options.audio ? *options.audio : kept.source ? *kept.source : defaultAudioSource();
  if (vbvis_open(uri.c_str()) != 0) {
    hostLog("cannot take the audio source " + files::printable(uri, files::kPathLimit) + ": " +
            files::printable(vbvis_open_error(), files::kPathLimit));
    if (options.audio) return false;
    uri = defaultAudioSource();
    if (vbvis_open(uri.c_str()) != 0) return false;
  }
  hostLog("audio source: " + files::printable(uri, files::kPathLimit));
  return true;
}

std::filesystem::path hostSettingsFile(const HostSession& session) {
  IPluginDesign* plugin = session.design();
  return plugin ? std::filesystem::path(plugin->settingsFolder()) / kHostSettingsName : std::filesystem::path();
}

int startDelayMs(const HostOptions& options, const HostSettings& kept) {
  return options.delayMs.value_or(kept.delayMs.value_or(0));
}

GainChoice startGain(const HostOptions& options, const HostSettings& kept) {
  return options.gain.value_or(kept.gain.value_or(GainChoice{true, 0.0}));
}

void applyStartGain(const HostOptions& options, const HostSettings& kept) {
  const GainChoice gain = startGain(options, kept);
  // Both come checked: the bridge takes them.
  vbvis_set_gain(gain.automatic ? 1 : 0, gain.fixedDb);
  hostLog("gain: " + describeGain(gain));
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
      if (session.design()) show.fillTables(session);
    });
    if (session.design()) tk::app().runEvent([&] { show.setParameters(session); });
    return true;
  } catch (const std::runtime_error& e) {
    hostLog(e.what());
    return false;
  }
}

}  // namespace vantorhost
