#pragma once
#include <cstdint>

#include "toolkit/control.h"

namespace tk {

// Value 0 (clear), 1 (ticked) or 2 (greyed; never produced by a click).
class CheckBox : public StatefulControl<std::int16_t> {
 public:
  CheckBox(Form& form, std::string name, std::string caption = {}, std::int16_t value = 0);
  std::int16_t value() const { return state_; }
  // Code setting the value; values outside 0..2 are refused (false).
  bool setValue(std::int16_t value);
  // The user's click: toggles between clear and ticked, then runs onClick.
  void userClick();
  std::optional<std::string> property(std::string_view name) const override;
};

}  // namespace tk
