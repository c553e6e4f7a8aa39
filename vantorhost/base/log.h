#pragma once
#include <string_view>

namespace vantorhost {

// The host's log: one clear line per event on standard error.
void hostLog(std::string_view message);

}  // namespace vantorhost
