#pragma once
#include <cstdint>
#include <functional>
#include <ostream>
#include <string_view>

namespace vantorhost {

// The trace of a run: one line per event, prefixed by the time in ms.
class Trace {
 public:
  Trace(std::ostream& out, std::function<std::int64_t()> clock) : out_(out), clock_(std::move(clock)) {}
  void line(std::string_view text);
  void flush() { out_.flush(); }

 private:
  std::ostream& out_;
  std::function<std::int64_t()> clock_;
};

}  // namespace vantorhost
