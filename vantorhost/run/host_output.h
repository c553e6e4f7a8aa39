#pragma once
// The way out of a run, the same for the desktop, headless runs and
// scripts: the DMX output and the output path in front of it, on the
// session's clock, following the fade and the beat pattern of the
// session's design.
#include <memory>

#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/output/beat_output.h"
#include "vantorhost/output/output_path.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

class HostOutput {
 public:
  // On the real clock a beat's light leaves early by the DMX output's
  // latency; on simulated time it leaves at the beat's own millisecond.
  enum class Clock { Real, Simulated };
  HostOutput(HostSession& session, std::unique_ptr<DmxOutput> dmx, Clock clock);
  ~HostOutput();
  HostOutput(const HostOutput&) = delete;
  HostOutput& operator=(const HostOutput&) = delete;

  OutputPath& path() { return *path_; }
  BeatOutput& beatOutput() { return beatOutput_; }
  // The last values go out (no delay, no fade left) and the output closes;
  // olad keeps them, so the lights hold their look. Also on destruction.
  void close();

 private:
  void follow(const HostDesign& design);

  HostSession& session_;
  std::unique_ptr<DmxOutput> dmx_;
  BeatOutput beatOutput_;
  std::unique_ptr<OutputPath> path_;
  int watch_;
};

}  // namespace vantorhost
