#include "vantorhost/run/run_headless.h"

#include <memory>

#include "bridge/vbvis.h"
#include "toolkit/application.h"
#include "vantorhost/base/log.h"
#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/run/host_output.h"
#include "vantorhost/run/audio_state_log.h"
#include "vantorhost/run/live_run.h"
#include "vantorhost/run/real_time_loop.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

int runHeadless(const HostOptions& options) {
  RealTimeLoop loop;
  tk::app().setLoop(&loop);
  catchStopSignals();
  HostSession session(options.pluginPath, loop);
  KeptShow show(options);
  if (!startPlugin(session, show)) return 1;
  const HostSettings kept = readHostSettings(hostSettingsFile(session));
  if (!openAudioSource(options, kept)) return 1;
  applyStartGain(options, kept);
  // The output logs its own state changes.
  HostOutput out(session, makeDmxOutput(options), HostOutput::Clock::Real);
  OutputPath& path = out.path();
  path.setDelay(startDelayMs(options, kept));
  path.setMaster(kept.masterPercent.value_or(OutputPath::kFullMaster));
  loop.alsoDue = [&] { return path.nextWakeMs(); };
  AudioStateLog audio;
  loop.onService = [&] {
    path.handOn();
    audio.poll();
  };
  hostLog("running headless; Ctrl-C stops and saves the settings and the design");
  loop.runUntilInterrupted();
  if (tk::Form* window = session.mainWindow(); window && window->loaded())
    tk::app().runEvent([window] { window->unload(tk::UnloadMode::HostClosing); });
  show.saveAtQuit(session);
  loop.onService = nullptr;
  loop.alsoDue = nullptr;
  // The last values stay in olad when the output goes: the lights hold their look.
  out.close();
  hostLog("stopped");
  session.stop();
  vbvis_close();
  tk::app().setLoop(nullptr);
  return 0;
}

}  // namespace vantorhost
