#include "bridge/capture/pulse_connection.h"

#include <algorithm>

namespace vbvis {

PulseConnection::PulseConnection() : loop_(pa_mainloop_new()), context_(nullptr) {
  if (loop_) context_ = pa_context_new(pa_mainloop_get_api(loop_), "Sonvero");
}

PulseConnection::~PulseConnection() {
  if (context_) {
    pa_context_disconnect(context_);
    pa_context_unref(context_);
  }
  if (loop_) pa_mainloop_free(loop_);
}

bool PulseConnection::good() const {
  return context_ && PA_CONTEXT_IS_GOOD(pa_context_get_state(context_));
}

bool PulseConnection::iterate(std::chrono::milliseconds timeout) {
  if (!loop_ || !context_) return false;
  if (pa_mainloop_prepare(loop_, static_cast<int>(timeout.count() * 1000)) < 0) return false;
  if (pa_mainloop_poll(loop_) < 0) return false;
  if (pa_mainloop_dispatch(loop_) < 0) return false;
  return good();
}

bool PulseConnection::dispatchPending() {
  if (!loop_ || !context_) return false;
  // Each round handles what one poll found; a few rounds empty the socket.
  for (int round = 0; round < 256; ++round) {
    const int dispatched = pa_mainloop_iterate(loop_, 0, nullptr);
    if (dispatched < 0) return false;
    if (dispatched == 0) break;
  }
  return good();
}

bool PulseConnection::connect(std::chrono::milliseconds timeout) {
  if (!context_) return false;
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return false;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (pa_context_get_state(context_) != PA_CONTEXT_READY) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !iterate(std::min(left, std::chrono::milliseconds(50)))) return false;
  }
  return true;
}

}  // namespace vbvis
