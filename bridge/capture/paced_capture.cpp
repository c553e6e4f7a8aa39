#include "bridge/capture/paced_capture.h"

#include <algorithm>

namespace vbvis {

void PacedCapture::run(CaptureSink& sink, const std::atomic<bool>& stop) {
  while (turn_.background(stop, [&] { return fill(sink); })) sink.track();
}

// Every frame due by now is played now: heard with no latency.
bool PacedCapture::fill(CaptureSink& sink) {
  constexpr std::int64_t kChunkFrames = 1024;
  const std::int64_t rate = generator_->sampleRate();
  chunk_.resize(2 * kChunkFrames);
  const std::int64_t elapsedUs =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_).count();
  const std::int64_t due = elapsedUs * rate / 1'000'000;
  // After a long hold-up (a suspended machine), jump to now rather than
  // producing the missed audio in a rush.
  if (due - played_ > static_cast<std::int64_t>(sink.capacity())) {
    generator_->skip(static_cast<std::size_t>(due - played_));
    played_ = due;
  }
  while (played_ < due) {
    const std::int64_t n = std::min(kChunkFrames, due - played_);
    generator_->read(chunk_.data(), static_cast<std::size_t>(n));
    sink.push(chunk_.data(), static_cast<std::size_t>(n));
    played_ += n;
  }
  sink.arrived(0);
  return true;
}

}  // namespace vbvis
