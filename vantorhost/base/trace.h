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
  // Writes out what is buffered; false once anything could not be
  // written (a full disk, a closed pipe), with the reason in error().
  bool flush();
  const std::string& error() const { return error_; }

 private:
  void check();

  std::ostream& out_;
  std::function<std::int64_t()> clock_;
  std::string error_;
};

}  // namespace vantorhost
