#include "toolkit/line.h"

#include "toolkit/format.h"

namespace tk {

Line::Line(Form& form, std::string name, LineState design) : Line(form, std::move(name), -1, design) {}

Line::Line(Form& form, std::string name, int index, LineState design)
    : StatefulControl(form, ControlKind::Line, std::move(name), index) {
  state_ = design;
}

void Line::setY(float y) {
  LineState next = state_;
  next.y1 = y;
  next.y2 = y;
  assign(state_, next);
}

std::optional<std::string> Line::property(std::string_view name) const {
  if (name == "Y1") return fmt::coordinate(state_.y1);
  if (name == "Y2") return fmt::coordinate(state_.y2);
  if (name == "X1") return fmt::coordinate(state_.x1);
  if (name == "X2") return fmt::coordinate(state_.x2);
  return Control::property(name);
}

}  // namespace tk
