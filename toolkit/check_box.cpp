#include "toolkit/check_box.h"

#include "toolkit/format.h"

namespace tk {

CheckBox::CheckBox(Form& form, std::string name, std::string caption, std::int16_t value)
    : StatefulControl(form, ControlKind::CheckBox, std::move(name)) {
  setCaption(std::move(caption));
  state_ = value;
}

bool CheckBox::setValue(std::int16_t value) {
  if (value < 0 || value > 2) return false;
  assign(state_, value);
  return true;
}

void CheckBox::userClick() {
  if (!enabled()) return;
  assign<std::int16_t>(state_, state_ == 1 ? 0 : 1);
  fireClick();
}

std::optional<std::string> CheckBox::property(std::string_view name) const {
  if (name == "Value") return fmt::number(state_);
  return Control::property(name);
}

}  // namespace tk
