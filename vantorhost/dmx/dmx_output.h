#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vantorhost/base/channel_buffer.h"
#include "vantorhost/base/host_options.h"

namespace vantorhost {

// What an output says about itself, for the host window's status line.
struct DmxFacts {
  enum class State { MonitorOnly, Connecting, Unreachable, Sending };
  State state = State::MonitorOnly;
  unsigned firstUniverse = 1;
  std::vector<unsigned> unpatched;  // universes olad has no output patched for
  std::string monitorOnlyWhy;       // "--dmx none", "no olad answered at start"
  bool operator==(const DmxFacts&) const = default;
};

// Where the channel buffer goes besides the monitor and the trace.
class DmxOutput {
 public:
  virtual ~DmxOutput() = default;
  // Called from the host's event loop after every event that may have moved
  // the channels, and a few times a second besides: sends what changed,
  // refreshes, reconnects. Never blocks for long. Outputs pace themselves on
  // the real clock, also in scripts on simulated time, because the DMX frame
  // rate is real.
  virtual void service(const ChannelBuffer& channels) = 0;
  // One line for the host's window and log, e.g. "DMX: OLA universes 1, 2".
  virtual std::string status() const = 0;
  // The same as facts, as of the last service().
  virtual DmxFacts facts() const = 0;
};

// The output the options ask for ("none" sends nowhere).
std::unique_ptr<DmxOutput> makeDmxOutput(const HostOptions& options);

}  // namespace vantorhost
