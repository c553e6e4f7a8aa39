#pragma once
#include <atomic>
#include <cstddef>
#include <vector>

namespace vbvis {

// Interleaved stereo frames from the capture thread (the only writer) to
// the thread that analyses (the only reader), without locks.
class FrameRing {
 public:
  explicit FrameRing(std::size_t capacityFrames);

  // Writer: appends what fits; the rest is dropped and marks an overflow.
  void push(const float* stereo, std::size_t frames);

  // Reader: moves every stored frame out, but keeps only the newest
  // `maxFrames` of them in `out` (older ones are dropped, never played late).
  // After an overflow the stored audio is stale: all of it is dropped.
  // False when anything was dropped.
  bool takeNewest(std::vector<float>& out, std::size_t maxFrames);

  std::size_t capacity() const { return capacity_; }

 private:
  std::size_t capacity_;
  std::vector<float> samples_;
  std::atomic<std::size_t> written_{0};  // frames ever written
  std::atomic<std::size_t> read_{0};     // frames ever taken or dropped
  std::atomic<bool> overflowed_{false};
};

}  // namespace vbvis
