#include "vantorhost/run/real_time_loop.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "vantorhost/run/stop_signals.h"

namespace vantorhost {

void RealTimeLoop::runUntilInterrupted() {
  const auto start = std::chrono::steady_clock::now();
  const auto elapsed = [&] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  };
  while (!stopRequested()) {
    std::int64_t due = nextDue();
    if (const std::int64_t also = alsoDue ? alsoDue() : -1; also >= 0) due = due < 0 ? also : std::min(due, also);
    std::int64_t now = elapsed();
    if (due >= 0 && due > now)
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min<std::int64_t>(due - now, kUpkeepMs)));
    else if (due < 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(kUpkeepMs));
    now = elapsed();
    // After a stall (the process stopped, the machine swapping) the missed
    // ticks are not made up back to back on stale audio.
    skipMissed(now);
    if (now > nowMs()) advance(now - nowMs());
    if (onService) onService();
  }
}

}  // namespace vantorhost
