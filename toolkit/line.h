#pragma once
#include "toolkit/control.h"

namespace tk {

struct LineState {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  OleColor borderColor = kBlack;
  bool operator==(const LineState&) const = default;
};

// A line control: two end points in the container's twips.
class Line : public StatefulControl<LineState> {
 public:
  Line(Form& form, std::string name, LineState design);
  // One line of a control array, as Line1(0) and Line1(1).
  Line(Form& form, std::string name, int index, LineState design);
  const LineState& points() const { return state_; }
  void setY(float y);  // both ends to the same height
  std::optional<std::string> property(std::string_view name) const override;
};

}  // namespace tk
