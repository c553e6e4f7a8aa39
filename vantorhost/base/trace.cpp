#include "vantorhost/base/trace.h"

#include <cerrno>
#include <cstring>

namespace vantorhost {

void Trace::line(std::string_view text) {
  out_ << clock_() << ' ' << text << '\n';
  check();
}

bool Trace::flush() {
  out_.flush();
  check();
  return error_.empty();
}

// A stream says only that a write failed; the system's reason is what the
// failed write left in errno.
void Trace::check() {
  if (out_ || !error_.empty()) return;
  error_ = errno != 0 ? std::strerror(errno) : "write error";
}

}  // namespace vantorhost
