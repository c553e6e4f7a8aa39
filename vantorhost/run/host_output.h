#pragma once
// The way out of a run, the same for the desktop, headless runs and
// scripts: the DMX output and the output path in front of it, on the
// session's clock, following the fade, the beat pattern, the beat source
// and the patch of the session's design, and after every event the
// channels the design drives (a list edited in the plug-in's windows takes
// a fixture's channel off its rest value at once). The beat output lights
// only while the plug-in's output switch ("DMX-Ausgabe aktiv") is on, as
// the plug-in's own channels do, whatever drives the beats.
#include <memory>

#include "toolkit/application.h"
#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/link/beat_source.h"
#include "vantorhost/output/beat_output.h"
#include "vantorhost/output/output_path.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

class HostOutput final : public tk::FormObserver {
 public:
  // On the real clock a beat's light leaves early by the DMX output's
  // latency; on simulated time it leaves at the beat's own millisecond.
  enum class Clock { Real, Simulated };
  // The beat output follows the bridge's tracker or `link`'s session, as
  // the design's beat source says.
  HostOutput(HostSession& session, std::unique_ptr<DmxOutput> dmx, Clock clock, LinkGrid& link);
  ~HostOutput() override;
  HostOutput(const HostOutput&) = delete;
  HostOutput& operator=(const HostOutput&) = delete;

  OutputPath& path() { return *path_; }
  BeatOutput& beatOutput() { return beatOutput_; }
  BeatSource& beatSource() { return beatSource_; }
  // The last values go out (no delay, no fade left) and the output closes;
  // olad keeps them, so the lights hold their look. Also on destruction.
  void close();
  // The patch and the channels the design drives now go to the path (only
  // while there are fixtures: a design without costs nothing).
  void followPatch();
  // After each event: the patch, and the output switch, which may have changed.
  void afterEvent() override {
    followPatch();
    followSwitch();
  }

 private:
  void follow(const HostDesign& design);
  void followSwitch();

  HostSession& session_;
  std::unique_ptr<DmxOutput> dmx_;
  BeatSource beatSource_;
  BeatOutput beatOutput_;
  std::unique_ptr<OutputPath> path_;
  int watch_;
};

}  // namespace vantorhost
