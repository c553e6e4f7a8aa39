#include "toolkit/simple_controls.h"

#include "toolkit/format.h"

namespace tk {

std::optional<std::string> TextBox::property(std::string_view name) const {
  if (name == "Text") return fmt::quoted(state_);
  return Control::property(name);
}

}  // namespace tk
