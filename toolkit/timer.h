#pragma once
#include <cstdint>

#include "toolkit/control.h"

namespace tk {

struct TimerState {
  std::int32_t interval = 0;  // ms; 0 stops the timer
  bool enabled = false;
  bool operator==(const TimerState&) const = default;
};

// A timer: runs onTimer every `interval` ms while it is enabled and its form
// is loaded. Setting the interval or enabling it (re)starts the count.
class Timer : public StatefulControl<TimerState> {
 public:
  Timer(Form& form, std::string name, TimerState design);
  ~Timer() override;

  std::int32_t interval() const { return state_.interval; }
  bool timerEnabled() const { return state_.enabled; }
  void setInterval(std::int32_t ms);
  void setTimerEnabled(bool enabled);
  bool running() const;

  // Called by the event loop when the timer falls due.
  void fire();
  // Starts or stops the timer with the loop to match its state; the form
  // calls this when it is loaded or unloaded.
  void sync();

  std::function<void()> onTimer;
  std::optional<std::string> property(std::string_view name) const override;

 protected:
  void restoreOwnDesign() override;
};

}  // namespace tk
