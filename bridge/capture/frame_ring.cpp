#include "bridge/capture/frame_ring.h"

#include <algorithm>

namespace vbvis {

FrameRing::FrameRing(std::size_t capacityFrames) : capacity_(capacityFrames), samples_(2 * capacityFrames) {}

void FrameRing::push(const float* stereo, std::size_t frames) {
  const std::size_t written = written_.load(std::memory_order_relaxed);
  const std::size_t free = capacity_ - (written - read_.load(std::memory_order_acquire));
  if (frames > free) {
    overflowed_.store(true, std::memory_order_relaxed);
    frames = free;
  }
  // At most two runs: up to the end of the buffer, then from its start.
  const std::size_t slot = written % capacity_;
  const std::size_t first = std::min(frames, capacity_ - slot);
  std::copy_n(stereo, 2 * first, samples_.data() + 2 * slot);
  std::copy_n(stereo + 2 * first, 2 * (frames - first), samples_.data());
  written_.store(written + frames, std::memory_order_release);
}

bool FrameRing::takeNewest(std::vector<float>& out, std::size_t maxFrames) {
  const std::size_t written = written_.load(std::memory_order_acquire);
  std::size_t read = read_.load(std::memory_order_relaxed);
  bool complete = true;
  if (overflowed_.exchange(false, std::memory_order_relaxed)) {
    maxFrames = 0;
    complete = false;
  }
  const std::size_t stored = written - read;
  if (stored > maxFrames) {
    read += stored - maxFrames;
    complete = false;
  }
  const std::size_t frames = written - read;
  const std::size_t slot = read % capacity_;
  const std::size_t first = std::min(frames, capacity_ - slot);
  out.assign(samples_.begin() + 2 * slot, samples_.begin() + 2 * (slot + first));
  out.insert(out.end(), samples_.begin(), samples_.begin() + 2 * (frames - first));
  read_.store(written, std::memory_order_release);
  return complete;
}

}  // namespace vbvis
