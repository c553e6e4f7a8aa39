#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

#include "model/settings.h"

namespace Settings {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The longest number at the start of the text, blanks removed, in the
// C notation: [-]digits[.digits][e[-]digits].
std::string leadingNumber(std::string_view text) {
  std::string compact;
  compact.reserve(text.size());
  for (char c : text)
    if (!isBlank(c)) compact += c;

  std::string number;
  std::size_t i = 0;
  if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) number += compact[i++];
  bool digits = false;
  while (i < compact.size() && isDigit(compact[i])) number += compact[i++], digits = true;
  if (i < compact.size() && compact[i] == '.') {
    number += compact[i++];
    while (i < compact.size() && isDigit(compact[i])) number += compact[i++], digits = true;
  }
  if (!digits) return {};
  // An exponent counts only with at least one digit; "d" is the
  // double-precision exponent letter of the same notation.
  if (i + 1 < compact.size() && std::string_view("eEdD").find(compact[i]) != std::string_view::npos) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (compact[j] == '+' || compact[j] == '-') exponent += compact[j++];
    if (j < compact.size() && isDigit(compact[j])) {
      while (j < compact.size() && isDigit(compact[j])) exponent += compact[j++];
      number += exponent;
    }
  }
  return number;
}

// Numbers in the file never follow the user's locale.
locale_t cLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

}  // namespace

double readNumber(std::string_view text) {
  const std::string number = leadingNumber(text);
  if (number.empty()) return 0;
  return strtod_l(number.c_str(), nullptr, cLocale());
}

std::int32_t toControlValue(std::string_view text, std::int32_t lo, std::int32_t hi) {
  const double whole = std::nearbyint(readNumber(text));
  if (!(whole > lo)) return lo;  // also a number too small to hold
  if (whole > hi) return hi;
  return static_cast<std::int32_t>(whole);
}

}  // namespace Settings
