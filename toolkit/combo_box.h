#pragma once
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace tk {

struct ComboState {
  std::vector<std::string> items;
  int listIndex = -1;  // -1: nothing selected
  std::string text;
  bool operator==(const ComboState&) const = default;
};

// A drop-down combo box whose text can also be typed.
class ComboBox : public StatefulControl<ComboState> {
 public:
  ComboBox(Form& form, std::string name) : StatefulControl(form, ControlKind::ComboBox, std::move(name)) {}

  void addItem(std::string item);
  const std::vector<std::string>& items() const { return state_.items; }
  int listIndex() const { return state_.listIndex; }
  const std::string& text() const { return state_.text; }
  // Selects entry `index` (-1: none, which empties the text); false when
  // out of range.
  bool setListIndex(int index);
  // The user types into the box. Text that is exactly one of the entries
  // counts as that entry selected; any other text leaves nothing selected.
  void userType(std::string text);
  void userSelect(int index);

  std::function<void()> onChange;
  std::optional<std::string> property(std::string_view name) const override;
};

}  // namespace tk
