#pragma once
#include <cstdint>

#include "bridge/beat/tracker_tap.h"
#include "bridge/capture/frame_ring.h"
#include "bridge/capture/steady_clock.h"

namespace vbvis {

// Where a capture delivers its audio: the analysis's ring and, when the
// beat tracker runs, its tap. One filler at a time (the fill turn).
class CaptureSink {
 public:
  CaptureSink(FrameRing& ring, TrackerTap* tap) : ring_(ring), tap_(tap) {}

  void push(const float* stereo, std::size_t frames) {
    ring_.push(stereo, frames);
    if (tap_) tap_->push(stereo, frames);
  }
  // After a fill: the newest frame pushed is heard `latencyUs` from now.
  void arrived(std::int64_t latencyUs) {
    if (tap_) tap_->arrived(steadyNowUs(), latencyUs);
  }
  // The capture thread after its own fill: the tracker runs over what came.
  void track() {
    if (tap_) tap_->track();
  }
  std::size_t capacity() const { return ring_.capacity(); }

 private:
  FrameRing& ring_;
  TrackerTap* tap_;
};

}  // namespace vbvis
