#include "audio/vbvis/paced_capture.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace vbvis {

void PacedCapture::run(FrameRing& ring, const std::atomic<bool>& stop) {
  using Clock = std::chrono::steady_clock;
  constexpr std::int64_t kChunkFrames = 1024;
  const std::int64_t rate = generator_->sampleRate();
  std::vector<float> chunk(2 * kChunkFrames);
  const Clock::time_point start = Clock::now();
  std::int64_t played = 0;
  while (!stop.load()) {
    const std::int64_t elapsedUs =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    const std::int64_t due = elapsedUs * rate / 1'000'000;
    // After a long hold-up (a suspended machine), jump to now rather than
    // producing the missed audio in a rush.
    if (due - played > static_cast<std::int64_t>(ring.capacity())) {
      generator_->skip(static_cast<std::size_t>(due - played));
      played = due;
    }
    while (played < due) {
      const std::int64_t n = std::min(kChunkFrames, due - played);
      generator_->read(chunk.data(), static_cast<std::size_t>(n));
      ring.push(chunk.data(), static_cast<std::size_t>(n));
      played += n;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace vbvis
