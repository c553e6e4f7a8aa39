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
  // Looking: no olad answered at start, and the output keeps looking for
  // one quietly (--dmx auto); the monitor is the only output meanwhile.
  enum class State { MonitorOnly, Looking, Connecting, Unreachable, Sending };
  State state = State::MonitorOnly;
  unsigned firstUniverse = 1;
  std::vector<unsigned> unpatched;  // universes olad has no output patched for
  std::string monitorOnlyWhy;       // "--dmx none", "OLA support could not be loaded"
  std::string monitorOnlyRemedy;    // what to do about it, in a few words
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
  // The values the next service() hands over go out at once, without
  // waiting for the frame gap: the user's own hand on the output (blackout,
  // master) is never a frame late.
  virtual void hurry() {}
  // How long values handed over take to leave the output (to olad), in
  // microseconds: a beat's light leaves that much early.
  virtual std::int64_t latencyUs() const { return 0; }
  // One line for the host's window and log, e.g. "DMX: OLA universes 1, 2".
  virtual std::string status() const = 0;
  // The same as facts, as of the last service().
  virtual DmxFacts facts() const = 0;
};

// The output the options ask for ("none" sends nowhere).
std::unique_ptr<DmxOutput> makeDmxOutput(const HostOptions& options);

}  // namespace vantorhost
