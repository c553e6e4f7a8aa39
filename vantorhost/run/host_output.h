#pragma once
// The way out of a run, the same for the desktop, headless runs and
// scripts: the DMX output and the output path in front of it, on the
// session's clock, following the fade of the session's design.
#include <memory>

#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/output/output_path.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

class HostOutput {
 public:
  HostOutput(HostSession& session, std::unique_ptr<DmxOutput> dmx);
  ~HostOutput();
  HostOutput(const HostOutput&) = delete;
  HostOutput& operator=(const HostOutput&) = delete;

  OutputPath& path() { return *path_; }
  // The last values go out (no delay, no fade left) and the output closes;
  // olad keeps them, so the lights hold their look. Also on destruction.
  void close();

 private:
  HostSession& session_;
  std::unique_ptr<DmxOutput> dmx_;
  std::unique_ptr<OutputPath> path_;
  int watch_;
};

}  // namespace vantorhost
