#include "toolkit/ranged_control.h"

#include "toolkit/format.h"

namespace tk {

RangedControl::RangedControl(Form& form, ControlKind kind, std::string name, RangeState design)
    : StatefulControl(form, kind, std::move(name)) {
  state_ = design;
  state_.value = clamp(design.value);
}

std::int32_t RangedControl::clamp(std::int32_t v) const {
  if (v < low()) return low();
  if (v > high()) return high();
  return v;
}

void RangedControl::setValue(std::int32_t value) { assign(state_.value, clamp(value)); }

void RangedControl::setMin(std::int32_t min) {
  assign(state_.min, min);
  assign(state_.value, clamp(state_.value));
}

void RangedControl::setMax(std::int32_t max) {
  assign(state_.max, max);
  assign(state_.value, clamp(state_.value));
}

void RangedControl::userSetValue(std::int32_t value) {
  if (!enabled()) return;
  setValue(value);
  if (onChange) onChange();
}

std::optional<std::string> RangedControl::property(std::string_view name) const {
  if (name == "Value") return fmt::number(state_.value);
  if (name == "Min") return fmt::number(state_.min);
  if (name == "Max") return fmt::number(state_.max);
  return Control::property(name);
}

}  // namespace tk
