#pragma once
// A form with a 75 ms timer whose third event stalls the process for a
// second, as a stopped process or a swapping machine does.
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/timer.h"

namespace support {

class StalledTimerForm : public tk::Form {
 public:
  using Clock = std::chrono::steady_clock;

  // `onEvent` runs after each event is noted, with the count so far.
  explicit StalledTimerForm(std::function<void(std::size_t)> onEvent = nullptr)
      : tk::Form("Ticking", "Ticking", 3000, 2000) {
    Tick.onTimer = [this, onEvent] {
      fired.push_back(Clock::now());
      if (fired.size() == 3) std::this_thread::sleep_for(std::chrono::seconds(1));
      if (onEvent) onEvent(fired.size());
    };
    finishDesign();
  }

  // Events less than 20 ms after the one before.
  int eventsOnTopOfEachOther() const {
    int close = 0;
    for (std::size_t i = 1; i < fired.size(); ++i) close += fired[i] - fired[i - 1] < std::chrono::milliseconds(20);
    return close;
  }

  std::vector<Clock::time_point> fired;
  tk::Timer Tick{*this, "Tick", {75, true}};
};

}  // namespace support
