#pragma once
#include <cstdint>
#include <optional>

#include "toolkit/control.h"

namespace tk {

// An LED-style level meter with two operations: clear (no lit segment) and
// show a level (a percentage 0..100 as the engine uses it).
class LevelMeter : public StatefulControl<std::optional<std::int16_t>> {
 public:
  LevelMeter(Form& form, std::string name) : StatefulControl(form, ControlKind::LevelMeter, std::move(name)) {}
  void clear() { assign(state_, std::optional<std::int16_t>{}); }
  void show(std::int16_t level) { assign(state_, std::optional<std::int16_t>{level}); }
  const std::optional<std::int16_t>& level() const { return state_; }
  std::optional<std::string> property(std::string_view name) const override;
};

}  // namespace tk
