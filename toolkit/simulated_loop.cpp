#include "toolkit/simulated_loop.h"

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/timer.h"

namespace tk {

void SimulatedLoop::startTimer(Timer& timer) {
  stopTimer(timer);
  entries_.push_back({&timer, now_ + timer.interval(), nextOrder_++});
}

void SimulatedLoop::stopTimer(Timer& timer) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                [&](const Entry& e) { return e.timer == &timer; }),
                 entries_.end());
}

std::int64_t SimulatedLoop::nextDue() const {
  std::int64_t best = -1;
  for (const Entry& e : entries_)
    if (best < 0 || e.due < best) best = e.due;
  return best;
}

void SimulatedLoop::skipMissed(std::int64_t until) {
  for (Entry& e : entries_) {
    const std::int64_t interval = e.timer->interval();
    if (interval > 0 && e.due + interval <= until) e.due += (until - e.due) / interval * interval;
  }
}

bool SimulatedLoop::fireNext(std::int64_t until) {
  auto next = entries_.end();
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->due > until) continue;
    if (next == entries_.end() || it->due < next->due || (it->due == next->due && it->order < next->order))
      next = it;
  }
  if (next == entries_.end()) return false;
  Timer* timer = next->timer;
  now_ = next->due;
  next->due += timer->interval();  // the next event; a handler may restart or stop it
  app().runEvent([timer] { timer->fire(); });
  return true;
}

void SimulatedLoop::advance(std::int64_t ms) {
  const std::int64_t target = now_ + ms;
  while (fireNext(target)) {
  }
  now_ = target;
}

}  // namespace tk
