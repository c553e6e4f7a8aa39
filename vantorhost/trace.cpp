#include "vantorhost/trace.h"

namespace vantorhost {

void Trace::line(std::string_view text) { out_ << clock_() << ' ' << text << '\n'; }

}  // namespace vantorhost
