#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>

#include "audio/vbvis/vbvis.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/host_session.h"
#include "vantorhost/log.h"
#include "vantorhost/run_modes.h"

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onSignal(int) { interrupted = 1; }

// How often the DMX output is given the channel buffer on the real clock.
constexpr std::int64_t kDmxServiceMs = 20;

// The simulated loop, moved along by the real clock.
class RealTimeLoop : public tk::SimulatedLoop {
 public:
  // Called every ~20 ms of real time between timer events.
  std::function<void()> onService;

  void runUntilInterrupted() {
    const auto start = std::chrono::steady_clock::now();
    while (!interrupted) {
      const std::int64_t due = nextDue();
      const auto elapsed = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
      };
      std::int64_t now = elapsed();
      if (due >= 0 && due > now)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<std::int64_t>(due - now, kDmxServiceMs)));
      else if (due < 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(kDmxServiceMs));
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
  const std::string uri = options.audio.value_or("silence");
  if (vbvis_open(uri.c_str()) != 0) {
    hostLog("unknown or unreadable audio source: " + uri);
    return 1;
  }
  hostLog("audio source: " + uri);
  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  std::signal(SIGPIPE, SIG_IGN);
  HostSession session(options.pluginPath, loop);
  try {
    session.start();
  } catch (const std::runtime_error& e) {
    hostLog(e.what());
    return 1;
  }
  // The output logs its own state changes.
  std::unique_ptr<DmxOutput> dmx = makeDmxOutput(options);
  loop.onService = [&] { dmx->service(session.channels(), loop.nowMs()); };
  hostLog("running headless; Ctrl-C stops and saves the settings");
  loop.runUntilInterrupted();
  if (tk::Form* window = session.mainWindow(); window && window->loaded())
    tk::app().runEvent([window] { window->unload(tk::UnloadMode::HostClosing); });
  // The last values stay in olad when the output goes: the lights hold their look.
  dmx->service(session.channels(), loop.nowMs());
  loop.onService = nullptr;
  dmx.reset();
  hostLog("stopped");
  session.stop();
  vbvis_close();
  tk::app().setLoop(nullptr);
  return 0;
}
