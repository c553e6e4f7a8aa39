#pragma once
#include "toolkit/control.h"

namespace tk {

// Option buttons in the same container form one group: selecting one clears
// the others.
class OptionButton : public StatefulControl<bool> {
 public:
  OptionButton(Form& form, std::string name, int index, std::string caption = {}, bool value = false);
  bool value() const { return state_; }
  // Code setting the value: true selects this button and clears the others
  // of its group (also on a disabled button, as code may).
  void setValue(bool value);
  // The user's click: selects the button if it is enabled, then onClick.
  void userClick();
  std::optional<std::string> property(std::string_view name) const override;
};

}  // namespace tk
