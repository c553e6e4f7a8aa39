#pragma once
#include <atomic>
#include <cstdint>
#include <exception>

#include "bridge/beat/tracker_tap.h"
#include "bridge/capture/frame_ring.h"
#include "bridge/capture/steady_clock.h"

namespace vbvis {

// Where a capture delivers its audio: the analysis's ring and, when the
// beat tracker runs, its tap. One filler at a time (the fill turn), while
// the capture thread runs the tracker (track()) outside the turn.
//
// The tracker must never end the capture: where the tap throws (making or
// feeding the tracker allocates), the tap is given up, with one line on
// standard error, the board says no beat is known, and the audio goes on
// to the analysis alone.
class CaptureSink {
 public:
  CaptureSink(FrameRing& ring, TrackerTap* tap) : ring_(ring), tap_(tap) {}

  void push(const float* stereo, std::size_t frames) {
    ring_.push(stereo, frames);
    toTap([&](TrackerTap& tap) { tap.push(stereo, frames); });
  }
  // After a fill: the newest frame pushed is heard `latencyUs` from now.
  void arrived(std::int64_t latencyUs) {
    toTap([&](TrackerTap& tap) { tap.arrived(steadyNowUs(), latencyUs); });
  }
  // The capture thread after its own fill: the tracker runs over what came.
  void track() {
    toTap([](TrackerTap& tap) { tap.track(); });
  }
  std::size_t capacity() const { return ring_.capacity(); }

 private:
  template <class Use>
  void toTap(Use&& use) {
    TrackerTap* tap = tap_.load();
    if (!tap) return;
    try {
      use(*tap);
    } catch (const std::exception& e) {
      giveUp(e.what());
    }
  }
  // Whichever thread fails first gives the tap up, once; one still using
  // it finishes harmlessly (the tap lives as long as the feed).
  void giveUp(const char* why) noexcept;

  FrameRing& ring_;
  std::atomic<TrackerTap*> tap_;
};

}  // namespace vbvis
