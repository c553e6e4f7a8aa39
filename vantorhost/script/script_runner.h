#pragma once
#include <cstdint>
#include <functional>
#include <istream>
#include <string>

#include "toolkit/simulated_loop.h"
#include "vantorhost/base/trace.h"
#include "vantorhost/commands/script_command.h"
#include "vantorhost/link/beat_source.h"
#include "vantorhost/link/link_session.h"
#include "vantorhost/output/output_path.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

struct ScriptFailure {
  int line;
  std::string message;
};

// The script could not be read to its end (a read error, an endless line).
struct ScriptUnreadable {
  std::string reason;
};

// Runs a session script on simulated time against a loaded plug-in and
// writes the trace. A malformed line stops the run (ScriptFailure), and so
// does a script that cannot be read on (ScriptUnreadable). The output path
// goes along on the same clock: `advance` wakes it at the exact
// millisecond it asks for, between the timers' events.
//
// A Link session keeps real time, so from its first `link on` a script
// runs on the real clock: each `advance MS` then takes MS real
// milliseconds, every event still at its own millisecond of the script's
// clock (the trace's times stay the script's), and the session's beats
// are placed on that clock as it runs.
class ScriptRunner {
 public:
  // `beats`: what the beat output follows, told of the operator's hands.
  ScriptRunner(HostSession& session, tk::SimulatedLoop& loop, Trace& trace, OutputPath& path, LinkSession& link,
               BeatSource& beats)
      : session_(session), loop_(loop), trace_(trace), path_(path), link_(link), beats_(beats) {}

  // Runs every line of the script in order (files::LineReader: a leading
  // byte-order mark and any line end); throws ScriptFailure at the first
  // line that is malformed or cannot run, ScriptUnreadable when reading fails.
  void run(std::istream& script);
  void execute(const Command& command);
  // Told after a line wrote the plug-in's tables directly (`list`, `bar`):
  // the channels the design drives may have changed.
  std::function<void()> onTablesWritten;

 private:
  tk::Form& form(const ControlRef& ref) const;
  tk::Control& control(const ControlRef& ref) const;
  void printProperty(const ControlRef& ref);

  void operator()(std::monostate) {}
  void operator()(const cmd::Audio& c);
  void operator()(const cmd::Spectrum& c);
  void operator()(const cmd::Vu& c);
  void operator()(const cmd::BarSet& c);
  void operator()(const cmd::BarClear& c);
  void operator()(const cmd::List& c);
  void operator()(const cmd::Set& c);
  void operator()(const cmd::Select& c);
  void operator()(const cmd::Type& c);
  void operator()(const cmd::Click& c);
  void operator()(const cmd::Key& c);
  void operator()(const cmd::Close& c);
  void operator()(const cmd::Open& c);
  void operator()(const cmd::Reload& c);
  void operator()(const cmd::Advance& c);
  void operator()(const cmd::PrintProperty& c) { printProperty(c.ref); }
  void operator()(const cmd::PrintForms& c);
  void operator()(const cmd::PrintDraw& c);
  void operator()(const cmd::PrintBar& c);
  void operator()(const cmd::PrintList& c);
  void operator()(const cmd::PrintModuleInfo& c);
  void operator()(const cmd::PrintShow& c);
  void operator()(const cmd::SaveShow& c);
  void operator()(const cmd::OpenShow& c);
  void operator()(const cmd::PrintTempo& c);
  void operator()(const cmd::TestOutput& c);
  void operator()(const cmd::Fade& c);
  void operator()(const cmd::PrintDmx& c);
  void operator()(const cmd::Beats& c);
  void operator()(const cmd::PrintTracker& c);
  void operator()(const cmd::Tap& c);
  void operator()(const cmd::Nudge& c);
  void operator()(const cmd::BeatsHold& c);
  void operator()(const cmd::Fixture& c);
  void operator()(const cmd::FixtureOff& c);
  void operator()(const cmd::PrintFixtures& c);
  void operator()(const cmd::PrintChannel& c);
  void tablesWritten() const {
    if (onTablesWritten) onTablesWritten();
  }
  void operator()(const cmd::Gain& c);
  void operator()(const cmd::PrintGain& c);
  void operator()(const cmd::BeatsSource& c);
  void operator()(const cmd::Link& c);
  void operator()(const cmd::PrintLink& c);

  IPluginDesign& design() const;
  // The script's clock in microseconds on the real clock.
  std::int64_t realNowUs() const;
  // Waits for the real clock to reach the script's millisecond `ms`.
  void waitUntil(std::int64_t ms) const;

  HostSession& session_;
  tk::SimulatedLoop& loop_;
  Trace& trace_;
  OutputPath& path_;
  LinkSession& link_;
  BeatSource& beats_;
  std::int64_t realStartUs_ = -1;  // the steady clock at the script's millisecond 0; -1 while simulated
};

// The bridge's beat tracker follows the simulated clock in steps of this.
inline constexpr std::int64_t kTrackerStepMs = 10;

// Runs the loop on for `ms` simulated milliseconds as `advance` does, wakes
// the path at each time it asks for, and moves the beat tracker on every
// kTrackerStepMs (then the path looks at it): timer events due at that same
// millisecond run first. With `waitUntil`, each step first waits for that
// millisecond to come (the real clock).
void advanceWithOutput(tk::SimulatedLoop& loop, OutputPath& path, std::int64_t ms,
                       const std::function<void(std::int64_t ms)>& waitUntil = nullptr);

}  // namespace vantorhost
