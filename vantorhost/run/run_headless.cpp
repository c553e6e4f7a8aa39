#include "vantorhost/run/run_headless.h"

#include "vantorhost/base/log.h"
#include "vantorhost/run/audio_state_log.h"
#include "vantorhost/run/live_run.h"
#include "vantorhost/run/real_time_loop.h"

namespace vantorhost {

int runHeadless(const HostOptions& options) {
  RealTimeLoop loop;
  LiveRun live(options, loop);
  if (!live.start()) return 1;
  OutputPath& path = live.path();
  loop.alsoDue = [&] { return path.nextWakeMs(); };
  AudioStateLog audio;
  loop.onService = [&] {
    path.handOn();
    audio.poll();
  };
  hostLog("running headless; Ctrl-C stops and saves the settings and the design");
  loop.runUntilInterrupted();
  loop.onService = nullptr;
  loop.alsoDue = nullptr;
  live.stop();
  return 0;
}

}  // namespace vantorhost
