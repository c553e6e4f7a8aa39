#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "bridge/vbvis.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "vantorhost/audio_state_log.h"
#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/host_session.h"
#include "vantorhost/live_run.h"
#include "vantorhost/log.h"
#include "vantorhost/output_path.h"
#include "vantorhost/run/run_modes.h"

namespace vantorhost {

namespace {

// Between timer events the loop wakes this often for the output's upkeep
// and to see a stop request; the channels go out right after each event.
constexpr std::int64_t kUpkeepMs = 250;

// The simulated loop, moved along by the real clock.
class RealTimeLoop : public tk::SimulatedLoop {
 public:
  // Called after every wake-up, at least every kUpkeepMs.
  std::function<void()> onService;
  // A time (on this loop's clock) to wake at besides the timers; -1: none.
  std::function<std::int64_t()> alsoDue;

  void runUntilInterrupted() {
    const auto start = std::chrono::steady_clock::now();
    while (!stopRequested()) {
      std::int64_t due = nextDue();
      if (const std::int64_t also = alsoDue ? alsoDue() : -1; also >= 0) due = due < 0 ? also : std::min(due, also);
      const auto elapsed = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
      };
      std::int64_t now = elapsed();
      if (due >= 0 && due > now)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<std::int64_t>(due - now, kUpkeepMs)));
      else if (due < 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(kUpkeepMs));
      now = elapsed();
      if (now > nowMs()) advance(now - nowMs());
      if (onService) onService();
    }
  }
};

}  // namespace

int runHeadless(const HostOptions& options) {
  RealTimeLoop loop;
  tk::app().setLoop(&loop);
  catchStopSignals();
  HostSession session(options.pluginPath, loop);
  KeptShow show(options);
  if (!startPlugin(session, show)) return 1;
  const HostSettings kept = readHostSettings(hostSettingsFile(session));
  if (!openAudioSource(options, kept)) return 1;
  // The output logs its own state changes.
  std::unique_ptr<DmxOutput> dmx = makeDmxOutput(options);
  auto path = std::make_unique<OutputPath>(session.channels(), *dmx, [&loop] { return loop.nowMs(); });
  path->setDelay(startDelayMs(options, kept));
  loop.alsoDue = [&] { return path->nextDueMs(); };
  AudioStateLog audio;
  loop.onService = [&] {
    path->handOn();
    audio.poll();
  };
  hostLog("running headless; Ctrl-C stops and saves the settings and the design");
  loop.runUntilInterrupted();
  if (tk::Form* window = session.mainWindow(); window && window->loaded())
    tk::app().runEvent([window] { window->unload(tk::UnloadMode::HostClosing); });
  if (IPluginDiagnostics* plugin = session.diagnostics()) show.saveAtQuit(*plugin);
  // The last values stay in olad when the output goes: the lights hold their look.
  path->handOn();
  loop.onService = nullptr;
  loop.alsoDue = nullptr;
  path.reset();
  dmx.reset();
  hostLog("stopped");
  session.stop();
  vbvis_close();
  tk::app().setLoop(nullptr);
  return 0;
}

}  // namespace vantorhost
