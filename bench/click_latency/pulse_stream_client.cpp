#include "bench/click_latency/pulse_stream_client.h"

#include <pulse/error.h>

PulseStreamClient::~PulseStreamClient() {
  if (loop_) pa_threaded_mainloop_stop(loop_);
  if (stream_) {
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
  }
  if (context_) {
    pa_context_disconnect(context_);
    pa_context_unref(context_);
  }
  if (loop_) pa_threaded_mainloop_free(loop_);
}

const pa_sample_spec& PulseStreamClient::format() {
  static const pa_sample_spec stereo{PA_SAMPLE_FLOAT32NE, kRate, 2};
  return stereo;
}

void PulseStreamClient::signal(void* self) {
  pa_threaded_mainloop_signal(static_cast<PulseStreamClient*>(self)->loop_, 0);
}

bool PulseStreamClient::start(const std::string& streamName, const std::function<int(pa_stream*)>& connect,
                              std::string& error) {
  loop_ = pa_threaded_mainloop_new();
  context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), clientName_.c_str());
  pa_context_set_state_callback(context_, [](pa_context*, void* self) { signal(self); }, this);
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    error = std::string("pulse: ") + pa_strerror(pa_context_errno(context_));
    return false;
  }
  Lock lock(*this);
  pa_threaded_mainloop_start(loop_);
  pa_context_state_t cs;
  while ((cs = pa_context_get_state(context_)) != PA_CONTEXT_READY && PA_CONTEXT_IS_GOOD(cs))
    pa_threaded_mainloop_wait(loop_);
  if (cs != PA_CONTEXT_READY) {
    error = "pulse: no sound server answers";
    return false;
  }
  stream_ = pa_stream_new(context_, streamName.c_str(), &format(), nullptr);
  pa_stream_set_state_callback(stream_, [](pa_stream*, void* self) { signal(self); }, this);
  if (connect(stream_) < 0) {
    error = "pulse: " + streamName + ": " + pa_strerror(pa_context_errno(context_));
    return false;
  }
  pa_stream_state_t ss;
  while ((ss = pa_stream_get_state(stream_)) != PA_STREAM_READY && PA_STREAM_IS_GOOD(ss))
    pa_threaded_mainloop_wait(loop_);
  if (ss != PA_STREAM_READY) {
    error = "pulse: the stream " + streamName + " failed (no such sink or source?)";
    return false;
  }
  return true;
}
