#include "bridge/paced_capture.h"

#include <algorithm>

namespace vbvis {

void PacedCapture::run(FrameRing& ring, const std::atomic<bool>& stop) {
  while (turn_.background(stop, [&] { return fill(ring); })) {
  }
}

bool PacedCapture::fill(FrameRing& ring) {
  constexpr std::int64_t kChunkFrames = 1024;
  const std::int64_t rate = generator_->sampleRate();
  chunk_.resize(2 * kChunkFrames);
  const std::int64_t elapsedUs =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_).count();
  const std::int64_t due = elapsedUs * rate / 1'000'000;
  // After a long hold-up (a suspended machine), jump to now rather than
  // producing the missed audio in a rush.
  if (due - played_ > static_cast<std::int64_t>(ring.capacity())) {
    generator_->skip(static_cast<std::size_t>(due - played_));
    played_ = due;
  }
  while (played_ < due) {
    const std::int64_t n = std::min(kChunkFrames, due - played_);
    generator_->read(chunk_.data(), static_cast<std::size_t>(n));
    ring.push(chunk_.data(), static_cast<std::size_t>(n));
    played_ += n;
  }
  return true;
}

}  // namespace vbvis
