#include "toolkit/combo_box.h"

#include <algorithm>

#include "toolkit/format.h"

namespace tk {

void ComboBox::addItem(std::string item) {
  state_.items.push_back(std::move(item));
  touch();
}

bool ComboBox::setListIndex(int index) {
  if (index < -1 || index >= static_cast<int>(state_.items.size())) return false;
  assign(state_.listIndex, index);
  // Selecting nothing empties the box, as the real control does.
  assign(state_.text, index >= 0 ? state_.items[static_cast<size_t>(index)] : std::string());
  return true;
}

void ComboBox::userType(std::string text) {
  if (!enabled()) return;
  auto it = std::find(state_.items.begin(), state_.items.end(), text);
  assign(state_.listIndex, it == state_.items.end() ? -1 : static_cast<int>(it - state_.items.begin()));
  assign(state_.text, std::move(text));
  if (onChange) onChange();
}

void ComboBox::userSelect(int index) {
  if (!enabled()) return;
  if (setListIndex(index) && onChange) onChange();
}

std::optional<std::string> ComboBox::property(std::string_view name) const {
  if (name == "Text") return fmt::quoted(state_.text);
  if (name == "ListIndex") return fmt::number(state_.listIndex);
  return Control::property(name);
}

}  // namespace tk
