#pragma once
#include <cstdint>
#include <vector>

#include "toolkit/event_loop.h"

namespace tk {

// Timers on a simulated clock. advance(ms) fires every event due at or
// before now + ms in time order; events due at the same time fire in the
// order their timers were started. Then the clock stands at now + ms.
class SimulatedLoop : public EventLoop {
 public:
  std::int64_t nowMs() const override { return now_; }
  void startTimer(Timer& timer) override;
  void stopTimer(Timer& timer) override;
  void advance(std::int64_t ms);
  // Fires the events due at or before `until` without moving past the last
  // one; returns false when none is due by then.
  bool fireNext(std::int64_t until);
  // Time of the next event, or -1 when no timer runs.
  std::int64_t nextDue() const;
  // A timer that has missed more than one event by `until` keeps only the
  // last of them, as a timer on a busy desktop does: after a stall each
  // fires once, then on its own beat again. (Session scripts never skip.)
  void skipMissed(std::int64_t until);

 protected:
  void setNow(std::int64_t now) { now_ = now; }

 private:
  struct Entry {
    Timer* timer;
    std::int64_t due;
    std::uint64_t order;
  };
  std::vector<Entry> entries_;
  std::int64_t now_ = 0;
  std::uint64_t nextOrder_ = 0;
};

}  // namespace tk
