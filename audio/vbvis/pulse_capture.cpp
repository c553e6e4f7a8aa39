#include "audio/vbvis/pulse_capture.h"

#include <chrono>
#include <thread>

#include <pulse/stream.h>

#include "audio/vbvis/pulse_connection.h"
#include "audio/vbvis/vbvis.h"

namespace vbvis {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kRetryEvery = 1000ms;
constexpr auto kStallAfter = 1000ms;
constexpr auto kPoll = 20ms;

// The stream, released with its connection's loop still alive.
struct StreamHandle {
  pa_stream* stream = nullptr;
  ~StreamHandle() {
    if (stream) {
      pa_stream_disconnect(stream);
      pa_stream_unref(stream);
    }
  }
};

// Moves every fragment the server has delivered into the ring; false when
// the stream broke.
bool drain(pa_stream* stream, FrameRing& ring, bool& gotAudio) {
  while (pa_stream_readable_size(stream) > 0) {
    const void* data = nullptr;
    size_t bytes = 0;
    if (pa_stream_peek(stream, &data, &bytes) < 0) return false;
    if (bytes == 0) break;
    // A hole (data == nullptr) is audio the server lost: skipped.
    if (data) ring.push(static_cast<const float*>(data), bytes / (2 * sizeof(float)));
    gotAudio = true;
    pa_stream_drop(stream);
  }
  return true;
}

void sleepUnlessStopped(Clock::time_point until, const std::atomic<bool>& stop) {
  while (!stop.load() && Clock::now() < until) std::this_thread::sleep_for(kPoll);
}

}  // namespace

PulseCapture::PulseCapture(std::string device)
    : device_(std::move(device)), state_(VBVIS_STATE_CONNECTING, "connecting to the sound server") {}

void PulseCapture::run(FrameRing& ring, const std::atomic<bool>& stop) {
  while (!stop.load()) {
    const Clock::time_point attempt = Clock::now();
    captureUntilFailure(ring, stop);
    sleepUnlessStopped(attempt + kRetryEvery, stop);
  }
}

void PulseCapture::captureUntilFailure(FrameRing& ring, const std::atomic<bool>& stop) {
  PulseConnection connection;
  if (!connection.connect(kRetryEvery)) {
    state_.set(VBVIS_STATE_NO_SERVER, "no sound server answering");
    return;
  }

  const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, kRate, 2};
  StreamHandle handle;
  handle.stream = pa_stream_new(connection.context(), "Sonvero analysis", &format, nullptr);
  if (!handle.stream) return;
  // Small fragments keep the newest audio at most 10 ms away from a read.
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(10'000, &format));
  attr.tlength = attr.prebuf = attr.minreq = static_cast<uint32_t>(-1);
  // A named source stays that source (gone means reopen until it is back);
  // the default monitor may follow the server to another device.
  const bool named = device_ != kDefaultMonitor;
  const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | (named ? PA_STREAM_DONT_MOVE : 0));
  if (pa_stream_connect_record(handle.stream, device_.c_str(), &attr, flags) < 0) return;

  Clock::time_point lastAudio = Clock::now();
  bool recording = false;
  while (!stop.load()) {
    if (!connection.iterate(kPoll)) return;
    const pa_stream_state_t state = pa_stream_get_state(handle.stream);
    if (!PA_STREAM_IS_GOOD(state)) {
      if (pa_context_errno(connection.context()) == PA_ERR_NOENTITY)
        state_.set(VBVIS_STATE_NO_SOURCE, "the sound server has no capture source named " + device_);
      return;
    }
    if (state == PA_STREAM_READY && !recording) {
      recording = true;
      state_.set(VBVIS_STATE_PLAYING, named ? "listening to pulse:" + device_ : "listening to what this computer plays");
    }
    bool gotAudio = false;
    if (state == PA_STREAM_READY && !drain(handle.stream, ring, gotAudio)) return;
    if (gotAudio) lastAudio = Clock::now();
    // A stream that delivers nothing has stalled (a running source always
    // delivers, silence included): start over.
    else if (Clock::now() - lastAudio > kStallAfter) return;
  }
}

}  // namespace vbvis
