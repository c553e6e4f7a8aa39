#include "toolkit/timer.h"

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/format.h"

namespace tk {

Timer::Timer(Form& form, std::string name, TimerState design)
    : StatefulControl(form, ControlKind::Timer, std::move(name)) {
  state_ = design;
}

Timer::~Timer() {
  if (auto* loop = app().loop()) loop->stopTimer(*this);
}

bool Timer::running() const { return state_.enabled && state_.interval > 0 && form().loaded(); }

void Timer::sync() {
  auto* loop = app().loop();
  if (!loop) return;
  if (running()) loop->startTimer(*this);
  else loop->stopTimer(*this);
}

void Timer::setInterval(std::int32_t ms) {
  assign(state_.interval, ms < 0 ? 0 : ms);
  sync();
}

void Timer::setTimerEnabled(bool enabled) {
  assign(state_.enabled, enabled);
  sync();
}

void Timer::restoreOwnDesign() {
  StatefulControl::restoreOwnDesign();
  if (auto* loop = app().loop()) loop->stopTimer(*this);
}

void Timer::fire() {
  if (running() && onTimer) onTimer();
}

std::optional<std::string> Timer::property(std::string_view name) const {
  if (name == "Interval") return fmt::number(state_.interval);
  if (name == "Enabled") return fmt::boolean(state_.enabled);
  return Control::property(name);
}

}  // namespace tk
