#include "vantorhost/base/log.h"

#include <iostream>

namespace vantorhost {

void hostLog(std::string_view message) { std::cerr << "sonvero: " << message << std::endl; }

}  // namespace vantorhost
