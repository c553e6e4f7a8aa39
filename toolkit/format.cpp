#include "toolkit/format.h"

#include <cstdio>

namespace tk::fmt {

std::string quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

std::string boolean(bool value) { return value ? "True" : "False"; }

std::string coordinate(float value) {
  char buf[64];
  // printf rounds the exact binary value; exact ties follow the current
  // rounding mode, which is to nearest even.
  std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(value));
  std::string s(buf);
  if (auto dot = s.find('.'); dot != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

std::string number(std::int64_t value) { return std::to_string(value); }

}  // namespace tk::fmt
