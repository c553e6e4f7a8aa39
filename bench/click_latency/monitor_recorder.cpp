#include "bench/click_latency/monitor_recorder.h"

#include <cmath>

#include "tests/support/steady_ns.h"

namespace {

// A click is a new one after this much quiet (100 ms at 48 kHz).
constexpr std::int64_t kQuietFrames = PulseStreamClient::kRate / 10;

}  // namespace

bool MonitorRecorder::start(std::string& error) {
  return client_.start("reference", [this](pa_stream* stream) {
    pa_stream_set_read_callback(
        stream, [](pa_stream* s, size_t, void* self) { static_cast<MonitorRecorder*>(self)->read(s); }, this);
    // As Sonvero's capture asks.
    pa_buffer_attr attr{};
    attr.maxlength = attr.tlength = attr.prebuf = attr.minreq = static_cast<uint32_t>(-1);
    attr.fragsize = static_cast<uint32_t>(
        pa_usec_to_bytes(static_cast<pa_usec_t>(fragmentMs_) * 1000, &PulseStreamClient::format()));
    return pa_stream_connect_record(stream, source_.c_str(), &attr,
                                    static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE));
  }, error);
}

// On the recorder's thread, as each fragment arrives.
void MonitorRecorder::read(pa_stream* stream) {
  const std::int64_t now = steadyNs();
  const void* data = nullptr;
  size_t bytes = 0;
  while (pa_stream_peek(stream, &data, &bytes) == 0 && bytes > 0) {
    const auto* samples = static_cast<const float*>(data);
    const std::size_t frames = bytes / (2 * sizeof(float));
    bool onset = false;
    for (std::size_t f = 0; f < frames; ++f) {
      const bool loud = samples && std::fabs(samples[2 * f]) >= threshold_;
      if (loud && quietFrames_ >= kQuietFrames) onset = true;
      quietFrames_ = loud ? 0 : quietFrames_ + 1;
    }
    if (onset) {
      std::lock_guard lock(mutex_);
      onsets_.push_back(now);
    }
    pa_stream_drop(stream);
  }
}

std::vector<std::int64_t> MonitorRecorder::onsets() {
  std::lock_guard lock(mutex_);
  return onsets_;
}
