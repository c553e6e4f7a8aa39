#include "vantorhost/trace.h"

void Trace::line(std::string_view text) { out_ << clock_() << ' ' << text << '\n'; }
