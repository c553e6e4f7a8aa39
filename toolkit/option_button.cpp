#include "toolkit/option_button.h"

#include "toolkit/form.h"
#include "toolkit/format.h"

namespace tk {

OptionButton::OptionButton(Form& form, std::string name, int index, std::string caption, bool value)
    : StatefulControl(form, ControlKind::OptionButton, std::move(name), index) {
  setCaption(std::move(caption));
  state_ = value;
}

void OptionButton::setValue(bool value) {
  if (value) {
    for (Control* c : form().controls()) {
      if (c != this && c->kind() == ControlKind::OptionButton && c->container() == container())
        static_cast<OptionButton*>(c)->assign(static_cast<OptionButton*>(c)->state_, false);
    }
  }
  assign(state_, value);
}

void OptionButton::userClick() {
  if (!enabled()) return;
  setValue(true);
  fireClick();
}

std::optional<std::string> OptionButton::property(std::string_view name) const {
  if (name == "Value") return fmt::boolean(state_);
  return Control::property(name);
}

}  // namespace tk
