#include "vantorhost/run/live_run.h"

#include <filesystem>
#include <stdexcept>
#include <string>

#include "bridge/vbvis.h"
#include "files/printable.h"
#include "toolkit/application.h"
#include "vantorhost/base/log.h"
#include "vantorhost/run/default_audio_source.h"
#include "vantorhost/run/stop_signals.h"
#include "vantorhost/script/source_refused.h"

namespace vantorhost {

namespace {

// The host settings file beside Sonvero.ini; empty when the plug-in does
// not say where that is.
std::filesystem::path hostSettingsFile(const HostSession& session) {
  IPluginDesign* plugin = session.design();
  return plugin ? std::filesystem::path(plugin->settingsFolder()) / kHostSettingsName : std::filesystem::path();
}

// --delay's, else the one the host window kept, else none.
int startDelayMs(const HostOptions& options, const HostSettings& kept) {
  return options.delayMs.value_or(kept.delayMs.value_or(0));
}

// The output's start as the log names it, and where each value came from:
// a headless run has no window that shows them.
void logStartOutput(const HostOptions& options, const HostSettings& choices, const std::filesystem::path& file) {
  const std::string from = " (kept in " + files::printable(file.string(), files::kPathLimit) + ")";
  hostLog("output delay: " + std::to_string(startDelayMs(options, choices)) + " ms" +
          (options.delayMs ? " (--delay)" : choices.delayMs ? from : ""));
  const int master = choices.masterPercent.value_or(OutputPath::kFullMaster);
  std::string line = "master: " + std::to_string(master) + " %" + (choices.masterPercent ? from : "");
  if (master == 0) line += "; every channel sends 0 until it is raised (in the host window, or a line master = 100 there)";
  hostLog(line);
}

// --gain's, else the one the host window kept, else automatic; set in the
// bridge and logged.
void applyStartGain(const HostOptions& options, const HostSettings& kept) {
  const GainChoice gain = options.gain.value_or(kept.gain.value_or(GainChoice{true, 0.0}));
  // Both come checked: the bridge takes them.
  vbvis_set_gain(gain.automatic ? 1 : 0, gain.fixedDb);
  hostLog("gain: " + describeGain(gain));
}

// Loads the plug-in and its window with the design `show` starts with;
// false (logged) when it cannot.
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

}  // namespace

bool openAudioSource(const HostOptions& options, const HostSettings& kept) {
  // The default asks the sound server: only when nothing else is chosen.
  std::string uri = options.audio ? *options.audio : kept.source ? *kept.source : defaultAudioSource();
  if (vbvis_open(uri.c_str()) != 0) {
    hostLog(sourceRefused(uri));
    if (options.audio) return false;
    uri = defaultAudioSource();
    if (vbvis_open(uri.c_str()) != 0) return false;
  }
  hostLog("audio source: " + files::printable(uri, files::kPathLimit));
  return true;
}

LiveRun::LiveRun(const HostOptions& options, tk::EventLoop& loop)
    : options_(options), session_(options.pluginPath, loop), show_(options) {
  tk::app().setLoop(&loop);
  catchStopSignals();
}

LiveRun::~LiveRun() {
  // Whatever is left (a start that failed half way) goes while the loop is
  // still the toolkit's: the plug-in's windows stop their timers on it.
  output_.reset();
  session_.stop();
  vbvis_close();
  tk::app().setLoop(nullptr);
  hostLog("stopped");
}

bool LiveRun::start() {
  if (!startPlugin(session_, show_)) return false;
  settings_ = HostSettingsFile(hostSettingsFile(session_));
  if (!openAudioSource(options_, settings_.settings())) return false;
  applyStartGain(options_, settings_.settings());
  if (options_.link || settings_.settings().link.value_or(false)) {
    link_.enable(true);
    hostLog("Link: on, a peer of the session on the local network");
  }
  // The output logs its own state changes.
  output_ = std::make_unique<HostOutput>(session_, makeDmxOutput(options_), HostOutput::Clock::Real, link_);
  path().setDelay(startDelayMs(options_, settings_.settings()));
  path().setMaster(settings_.settings().masterPercent.value_or(OutputPath::kFullMaster));
  logStartOutput(options_, settings_.settings(), settings_.file());
  return true;
}

void LiveRun::stop() {
  if (tk::Form* window = session_.mainWindow(); window && window->loaded())
    tk::app().runEvent([window] { window->unload(tk::UnloadMode::HostClosing); });
  show_.saveAtQuit(session_);
  // The last values stay in olad when the output goes: the lights hold their look.
  if (output_) output_->close();
  session_.stop();
}

}  // namespace vantorhost
