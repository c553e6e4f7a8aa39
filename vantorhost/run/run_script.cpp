#include "vantorhost/run/run_script.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "bridge/vbvis.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "vantorhost/base/log.h"
#include "vantorhost/base/tempo.h"
#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/run/host_output.h"
#include "vantorhost/script/script_runner.h"
#include "vantorhost/script/source_refused.h"

namespace vantorhost {

namespace {

std::int64_t simulatedNow(void* loop) { return static_cast<tk::SimulatedLoop*>(loop)->nowMs(); }

}  // namespace

int runScript(const HostOptions& options) {
  std::ifstream script(options.scriptPath);
  if (!script) {
    hostLog("cannot read script " + options.scriptPath);
    return 1;
  }
  std::ofstream traceFile;
  if (!options.tracePath.empty()) {
    traceFile.open(options.tracePath, std::ios::binary | std::ios::trunc);
    if (!traceFile) {
      hostLog("cannot write trace " + options.tracePath);
      return 1;
    }
  }
  std::ostream& out = options.tracePath.empty() ? std::cout : traceFile;

  tk::SimulatedLoop loop;
  tk::app().setLoop(&loop);
  vbvis_set_clock(&simulatedNow, &loop);
  // A script starts at 0 dB, or where --gain says, never where a live run
  // or an earlier script in this process left the gain: the same script
  // gives the same bytes. Automatic then starts from 0 dB.
  vbvis_set_gain(0, 0.0);
  if (options.gain) vbvis_set_gain(options.gain->automatic ? 1 : 0, options.gain->fixedDb);
  if (const std::string uri = options.audio.value_or("script"); vbvis_open(uri.c_str()) != 0) {
    hostLog(sourceRefused(uri));
    return 1;
  }
  Trace trace(out, [&loop] { return loop.nowMs(); });

  int status = 0;
  {
    HostSession session(options.pluginPath, loop);
    session.helper().setTrace(&trace);
    // Scripts are tests first: they reach olad only when asked to. The
    // output path runs all the same, so that `print dmx` reads what goes out.
    HostOptions output = options;
    if (output.dmx != "ola") output.dmx = "none";
    LinkSession link;
    HostOutput host(session, makeDmxOutput(output), HostOutput::Clock::Simulated, link);
    // Each beat of the beat output at the millisecond its light goes out.
    host.beatOutput().onBeat = [&trace](std::uint64_t number, double bpm) {
      trace.line("beat " + std::to_string(number) + " " + tempoText(Tempo{bpm, true}));
    };
    try {
      session.start();
      ScriptRunner runner(session, loop, trace, host.path(), link, host.beatSource());
      runner.onTablesWritten = [&host] { host.followPatch(); };
      // --link: the session from the start, and with it the real clock.
      if (options.link) runner.execute(cmd::Link{true});
      runner.run(script);
    } catch (const ScriptFailure& f) {
      trace.flush();
      std::cerr << "error " << f.line << ": " << f.message << std::endl;
      status = 2;
    } catch (const ScriptUnreadable& u) {
      hostLog("cannot read the script " + options.scriptPath + " to its end (" + u.reason + ")");
      status = 1;
    } catch (const std::runtime_error& e) {
      hostLog(e.what());
      status = 1;
    }
    // A trace that did not reach its file is a failed run, whatever the script did.
    if (!trace.flush()) {
      const std::string where = options.tracePath.empty() ? "standard output" : options.tracePath;
      hostLog("cannot write the trace to " + where + ": " + trace.error());
      status = 1;
    }
    session.helper().setTrace(nullptr);
    // The script's last values go out before the output closes, and stay in olad.
    host.close();
  }
  vbvis_set_clock(nullptr, nullptr);
  vbvis_close();
  tk::app().setLoop(nullptr);
  return status;
}

}  // namespace vantorhost
