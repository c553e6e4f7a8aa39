#pragma once
#include <cstdint>

#include "toolkit/control.h"

namespace tk {

struct RangeState {
  std::int32_t value = 0, min = 0, max = 10;
  std::int32_t smallChange = 1, largeChange = 1;
  std::int32_t tickFrequency = 0;  // sliders only
  bool operator==(const RangeState&) const = default;
};

// Sliders and scroll bars: a value that always stays inside the range
// between Min and Max, whichever of the two is larger (the vertical scroll
// bars here run upside down: Min is the top and the larger number).
class RangedControl : public StatefulControl<RangeState> {
 public:
  RangedControl(Form& form, ControlKind kind, std::string name, RangeState design);

  std::int32_t value() const { return state_.value; }
  std::int32_t min() const { return state_.min; }
  std::int32_t max() const { return state_.max; }
  std::int32_t low() const { return state_.min < state_.max ? state_.min : state_.max; }
  std::int32_t high() const { return state_.min < state_.max ? state_.max : state_.min; }
  std::int32_t smallChange() const { return state_.smallChange; }
  std::int32_t largeChange() const { return state_.largeChange; }
  std::int32_t tickFrequency() const { return state_.tickFrequency; }

  // Values are clamped into the range; changing an end of the range pulls
  // the value along, as the real controls do.
  void setValue(std::int32_t value);
  void setMin(std::int32_t min);
  void setMax(std::int32_t max);
  // The user moved the thumb: the value changes (clamped), then onChange.
  void userSetValue(std::int32_t value);

  std::function<void()> onChange;
  std::optional<std::string> property(std::string_view name) const override;

 private:
  std::int32_t clamp(std::int32_t v) const;
};

class Slider : public RangedControl {
 public:
  Slider(Form& form, std::string name, RangeState design)
      : RangedControl(form, ControlKind::Slider, std::move(name), design) {}
};

class VScrollBar : public RangedControl {
 public:
  VScrollBar(Form& form, std::string name, RangeState design)
      : RangedControl(form, ControlKind::VScrollBar, std::move(name), design) {}
};

}  // namespace tk
