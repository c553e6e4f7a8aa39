#include "toolkit/level_meter.h"

#include "toolkit/format.h"

namespace tk {

std::optional<std::string> LevelMeter::property(std::string_view name) const {
  if (name == "Level") return state_ ? fmt::number(*state_) : std::string("clear");
  return Control::property(name);
}

}  // namespace tk
