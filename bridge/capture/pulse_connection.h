#pragma once
#include <chrono>

#include <pulse/context.h>
#include <pulse/mainloop.h>

namespace vbvis {

// One connection to the sound server (PulseAudio or PipeWire's pulse
// server) with its own main loop, run by the thread that owns it. The
// server is the default one or the one PULSE_SERVER names; it is never
// spawned.
class PulseConnection {
 public:
  PulseConnection();
  ~PulseConnection();
  PulseConnection(const PulseConnection&) = delete;
  PulseConnection& operator=(const PulseConnection&) = delete;

  // Connects and waits until the server answers; false when it refuses,
  // fails or does not answer within `timeout`.
  bool connect(std::chrono::milliseconds timeout);
  // Runs the loop once, waiting at most `timeout` for something to do.
  // False when the connection has failed or the loop broke.
  bool iterate(std::chrono::milliseconds timeout);
  // Handles everything the server has sent by now, without waiting. False
  // when the connection has failed or the loop broke.
  bool dispatchPending();
  bool good() const;

  pa_context* context() const { return context_; }

 private:
  pa_mainloop* loop_;
  pa_context* context_;
};

}  // namespace vbvis
