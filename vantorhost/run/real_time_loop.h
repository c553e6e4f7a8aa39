#pragma once
#include <cstdint>
#include <functional>

#include "toolkit/simulated_loop.h"

namespace vantorhost {

// The headless run's event loop: the simulated loop, moved along by the
// real clock. Between timer events it wakes at least every kUpkeepMs for
// the output's upkeep and to see a stop request. A timer that missed
// several events (a stall) fires once and goes on from there.
class RealTimeLoop : public tk::SimulatedLoop {
 public:
  static constexpr std::int64_t kUpkeepMs = 250;

  // Called after every wake-up, at least every kUpkeepMs.
  std::function<void()> onService;
  // A time (on this loop's clock) to wake at besides the timers; -1: none.
  std::function<std::int64_t()> alsoDue;

  // Runs until a stop signal (stopRequested()).
  void runUntilInterrupted();
};

}  // namespace vantorhost
