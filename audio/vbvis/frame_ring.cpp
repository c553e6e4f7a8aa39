#include "audio/vbvis/frame_ring.h"

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
  for (std::size_t i = 0; i < frames; ++i) {
    const std::size_t slot = (written + i) % capacity_;
    samples_[2 * slot] = stereo[2 * i];
    samples_[2 * slot + 1] = stereo[2 * i + 1];
  }
  written_.store(written + frames, std::memory_order_release);
}

bool FrameRing::takeNewest(std::vector<float>& out, std::size_t maxFrames) {
  out.clear();
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
  out.reserve(2 * (written - read));
  for (; read != written; ++read) {
    const std::size_t slot = read % capacity_;
    out.push_back(samples_[2 * slot]);
    out.push_back(samples_[2 * slot + 1]);
  }
  read_.store(read, std::memory_order_release);
  return complete;
}

}  // namespace vbvis
