#pragma once
#include <array>
#include <cstdint>
#include <mutex>

namespace vbvis {

// What the beat tracker says now, on the bridge's clock: the C++ twin of
// vbvis_tracker_state, which vbvis_tracker fills from it.
struct TrackerState {
  double bpm = 0.0;           // the followed tempo; 0 when not locked
  int confidence = 0;         // 0..100
  bool locked = false;        // the next beats can be fired
  std::int64_t periodUs = 0;  // one beat; 0 when not locked
  // The next beats after the newest audio tracked, ascending; -1 for none.
  std::array<std::int64_t, 4> nextBeatsUs{-1, -1, -1, -1};
};

// The beat tracker's latest state, written where the tracker runs (the
// capture thread, or the caller of vbvis_tracker_update) and read from any
// thread. A copy under a lock that is held only for the copy.
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
  // Nothing known: no tempo, no beats (a new source).
  void clear() { reset(false); }
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
};

}  // namespace vbvis
