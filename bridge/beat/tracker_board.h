#pragma once
#include <mutex>

#include "bridge/beat/beat_hands.h"
#include "bridge/beat/tracker_state.h"

namespace vbvis {

// Where the beat tracker and the rest of the bridge meet: the tracker's
// latest state, written where the tracker runs (the capture thread, or the
// caller of vbvis_tracker_update) and read from any thread, a copy under a
// lock that is held only for the copy; and the operator's hands, which the
// tracker takes its orders from.
class TrackerBoard {
 public:
  void publish(const TrackerState& state) {
    std::lock_guard lock(mutex_);
    if (!closed_) state_ = state;
  }
  TrackerState read() const {
    std::lock_guard lock(mutex_);
    return state_;
  }
  BeatHands& hands() { return hands_; }
  // Nothing known: no tempo, no beats (a new source).
  void clear() {
    reset(false);
    hands_.clear();
  }
  // The tracker has stopped for good (it failed): nothing known, and what
  // a tracker still running publishes is not taken, until clear().
  void close() { reset(true); }

 private:
  void reset(bool closed) {
    std::lock_guard lock(mutex_);
    state_ = TrackerState{};
    closed_ = closed;
  }

  mutable std::mutex mutex_;  // guards state_ and closed_
  TrackerState state_;
  bool closed_ = false;
  BeatHands hands_;
};

}  // namespace vbvis
