#pragma once
#include <cstdint>

namespace tk {

class Timer;

// What timers run on: a simulated clock (headless, scripts) or the Qt event
// loop (desktop). Everything runs on one thread.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  virtual std::int64_t nowMs() const = 0;
  // (Re)starts the timer: its first event falls due `interval` ms from now.
  virtual void startTimer(Timer& timer) = 0;
  virtual void stopTimer(Timer& timer) = 0;
};

}  // namespace tk
