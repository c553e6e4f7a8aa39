#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// How property values are written in traces and in the host's log: stable,
// byte for byte, so that golden traces compare exactly.
namespace tk::fmt {

std::string quoted(std::string_view text);
std::string boolean(bool value);
// Single-precision coordinate: two decimals with ties to even, trailing
// zeros and a trailing dot dropped, never "-0".
std::string coordinate(float value);
std::string number(std::int64_t value);

}  // namespace tk::fmt
