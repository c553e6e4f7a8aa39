#pragma once
#include <mutex>

#include "bridge/vbvis.h"

namespace vbvis {

// The beat tracker's latest state, written where the tracker runs (the
// capture thread, or the caller of vbvis_tracker_update) and read from any
// thread. A copy under a lock that is held only for the copy.
class TrackerBoard {
 public:
  TrackerBoard() { clear(); }
  void publish(const vbvis_tracker_state& state) {
    std::lock_guard lock(mutex_);
    state_ = state;
  }
  vbvis_tracker_state read() const {
    std::lock_guard lock(mutex_);
    return state_;
  }
  // Nothing known: no tempo, no beats.
  void clear() { publish(none()); }
  static vbvis_tracker_state none() {
    vbvis_tracker_state state{};
    for (int64_t& beat : state.next_beats_us) beat = -1;
    return state;
  }

 private:
  mutable std::mutex mutex_;
  vbvis_tracker_state state_{};
};

}  // namespace vbvis
