#include "toolkit/control.h"

#include "toolkit/form.h"
#include "toolkit/format.h"

namespace tk {

Control::Control(Form& form, ControlKind kind, std::string name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {
  form_.registerControl(*this);
}

Control::~Control() { form_.unregisterControl(*this); }

std::string Control::displayName() const {
  if (index_ < 0) return name_;
  return name_ + "(" + std::to_string(index_) + ")";
}

void Control::setCaption(std::string caption) { assign(common_.caption, std::move(caption)); }
void Control::setEnabled(bool enabled) { assign(common_.enabled, enabled); }
void Control::setVisible(bool visible) { assign(common_.visible, visible); }
void Control::setBackColor(OleColor color) { assign(common_.backColor, color); }
void Control::setForeColor(OleColor color) { assign(common_.foreColor, color); }
void Control::setGeometry(Geometry geometry) { assign(common_.geometry, geometry); }
void Control::setContainer(Control* container) { assign(common_.container, container); }

std::optional<std::string> Control::property(std::string_view name) const {
  if (name == "Caption") return fmt::quoted(common_.caption);
  if (name == "Enabled") return fmt::boolean(common_.enabled);
  if (name == "Visible") return fmt::boolean(common_.visible);
  if (name == "BackColor") return fmt::number(common_.backColor);
  return std::nullopt;
}

void Control::saveDesign() {
  commonDesign_ = common_;
  saveOwnDesign();
}

void Control::restoreDesign() {
  common_ = commonDesign_;
  restoreOwnDesign();
  touch();
}

}  // namespace tk
