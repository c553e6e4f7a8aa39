#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "bridge/capture/capture.h"

namespace vbvis {

// Whose turn it is to fill the ring: the reader's pull or the capture
// thread's background fill, one at a time (the ring has one writer). The
// reader skips its turn rather than wait. Holding the lock is having the
// turn; it also guards woken_.
class FillTurn {
 public:
  // Capture thread: waits kBackgroundFill (or until woken), then fills. False
  // once `stop` is set or `fill` returns false.
  template <class Fill>
  bool background(const std::atomic<bool>& stop, Fill&& fill) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, Capture::kBackgroundFill, [&] { return stop.load() || woken_; });
    woken_ = false;
    return !stop.load() && fill();
  }
  // Reader: fills now unless the capture thread holds the turn.
  template <class Fill>
  void tryNow(Fill&& fill) {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (lock) fill();
  }
  // Capture thread: runs `change` (opening or closing the source) in turn.
  template <class Change>
  void exclusive(Change&& change) {
    std::lock_guard lock(mutex_);
    change();
  }
  void wake() {
    {
      std::lock_guard lock(mutex_);
      woken_ = true;
    }
    wake_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool woken_ = false;
};

}  // namespace vbvis
