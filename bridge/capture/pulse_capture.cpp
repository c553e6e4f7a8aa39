#include "bridge/capture/pulse_capture.h"

#include <chrono>
#include <thread>

#include <pulse/error.h>
#include <pulse/stream.h>

#include "bridge/capture/pulse_connection.h"

namespace vbvis {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kRetryEvery = 1000ms;
constexpr auto kStallAfter = 1000ms;
constexpr auto kPoll = 20ms;
constexpr auto kTimingEvery = 1000ms;
constexpr std::int64_t kFragmentUs = 10'000;

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
// the stream broke. (Each call into the library costs a system call here,
// so the loop asks for the next fragment and nothing else.)
bool drain(pa_stream* stream, CaptureSink& sink, bool& gotAudio) {
  for (;;) {
    const void* data = nullptr;
    size_t bytes = 0;
    if (pa_stream_peek(stream, &data, &bytes) < 0) return false;
    if (bytes == 0) break;
    // A hole (data == nullptr) is audio the server lost: skipped.
    if (data) sink.push(static_cast<const float*>(data), bytes / (2 * sizeof(float)));
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
    : device_(std::move(device)), state_(SourceState::Code::Connecting, "connecting to the sound server") {}

// An open stream on its connection, filled by whoever has the turn.
class PulseCapture::Session {
 public:
  Session(PulseConnection& connection, pa_stream* stream, PulseCapture& owner)
      : connection_(connection), stream_(stream), owner_(owner) {}

  // Takes in what the server has sent by now, without waiting; false when
  // the connection or the stream failed, or the stream has stalled (a
  // running source always delivers, silence included).
  bool fill(CaptureSink& sink) {
    if (!connection_.dispatchPending()) return false;
    const pa_stream_state_t state = pa_stream_get_state(stream_);
    if (!PA_STREAM_IS_GOOD(state)) {
      const int error = pa_context_errno(connection_.context());
      if (error == PA_ERR_NOENTITY)
        owner_.state_.set(SourceState::Code::NoSource,
                          "the sound server has no capture source named " + owner_.device_);
      else if (!recording_)
        owner_.refused(error);
      return false;
    }
    if (state == PA_STREAM_READY && !recording_) {
      recording_ = true;
      owner_.state_.set(SourceState::Code::Playing, owner_.named() ? "listening to pulse:" + owner_.device_
                                                            : "listening to what this computer plays");
    }
    bool gotAudio = false;
    if (state == PA_STREAM_READY && !drain(stream_, sink, gotAudio)) return false;
    if (gotAudio) {
      lastAudio_ = Clock::now();
      askForTiming();
      sink.arrived(latencyUs());
    }
    return Clock::now() - lastAudio_ <= kStallAfter;
  }

  // The server's timing, asked for once a second: the latency hardly moves,
  // and asking on every fill (or every 100 ms, as automatic updates do)
  // costs a round trip each time.
  void askForTiming() {
    if (lastAudio_ - timingAsked_ < kTimingEvery) return;
    timingAsked_ = lastAudio_;
    if (pa_operation* asked = pa_stream_update_timing_info(stream_, nullptr, nullptr)) pa_operation_unref(asked);
  }

  // How long ago the newest frame read was captured (negative: a monitor's
  // sound still to be played), as the server reports it; a fragment while
  // it has not reported yet.
  std::int64_t latencyUs() const {
    pa_usec_t usec = 0;
    int negative = 0;
    if (pa_stream_get_latency(stream_, &usec, &negative) != 0) return kFragmentUs;
    return negative ? -static_cast<std::int64_t>(usec) : static_cast<std::int64_t>(usec);
  }

 private:
  PulseConnection& connection_;
  pa_stream* stream_;
  PulseCapture& owner_;
  bool recording_ = false;
  Clock::time_point lastAudio_ = Clock::now();
  Clock::time_point timingAsked_{};
};

// A source the server will not record from (a name too long or holding
// characters it does not take): the reason first, so that it survives a
// caller's short buffer.
void PulseCapture::refused(int error) {
  state_.set(SourceState::Code::NoSource, std::string("the sound server refuses to record (") + pa_strerror(error) +
                                        ") from pulse:" + device_);
}

void PulseCapture::run(CaptureSink& sink, const std::atomic<bool>& stop) {
  while (!stop.load()) {
    const Clock::time_point attempt = Clock::now();
    captureUntilFailure(sink, stop);
    sleepUnlessStopped(attempt + kRetryEvery, stop);
  }
}

void PulseCapture::pull(CaptureSink& sink) {
  // A failure shows at the next background fill, which opens the source anew.
  turn_.tryNow([&] {
    if (session_) session_->fill(sink);
  });
}

void PulseCapture::captureUntilFailure(CaptureSink& sink, const std::atomic<bool>& stop) {
  PulseConnection connection;
  if (!connection.connect(kRetryEvery)) {
    state_.set(SourceState::Code::NoServer, "no sound server answering");
    return;
  }

  const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, kRate, 2};
  StreamHandle handle;
  handle.stream = pa_stream_new(connection.context(), "Sonvero analysis", &format, nullptr);
  if (!handle.stream) return;
  // Small fragments keep the newest audio at most 10 ms away from a read.
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(kFragmentUs, &format));
  attr.tlength = attr.prebuf = attr.minreq = static_cast<uint32_t>(-1);
  // Timing (asked for once a second, interpolated in between) lets the
  // server's latency be read after each fill, so the beat tracker knows
  // when what it hears was (or will be) heard.
  const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                                    (named() ? PA_STREAM_DONT_MOVE : 0));
  if (pa_stream_connect_record(handle.stream, device_.c_str(), &attr, flags) < 0) {
    refused(pa_context_errno(connection.context()));
    return;
  }

  Session session(connection, handle.stream, *this);
  turn_.exclusive([&] { session_ = &session; });
  while (turn_.background(stop, [&] { return session.fill(sink); })) sink.track();
  turn_.exclusive([&] { session_ = nullptr; });
}

}  // namespace vbvis
