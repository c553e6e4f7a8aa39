#include "vantorhost/base/gain_choice.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace vantorhost {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// An optional sign, then digits with at most one point among them, and a
// digit on at least one side of the point.
bool plainDecimal(std::string_view s) {
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
  bool point = false, digit = false;
  for (char c : s) {
    if (isDigit(c)) digit = true;
    else if (c == '.' && !point) point = true;
    else return false;
  }
  return digit;
}

// Whether a plain decimal lies within kMinGainDb..kMaxGainDb, judged on its
// digits as written, however many there are: 36.000…01 lies beyond 36 and
// 0.000…01 within, whatever the nearest double makes of them.
bool withinRange(std::string_view s) {
  const bool negative = s.front() == '-';
  if (s.front() == '+' || s.front() == '-') s.remove_prefix(1);
  const std::size_t point = std::min(s.find('.'), s.size());
  std::string_view whole = s.substr(0, point);
  const std::string_view fraction = s.substr(std::min(point + 1, s.size()));
  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  const int bound = static_cast<int>(negative ? -kMinGainDb : kMaxGainDb);
  if (whole.size() > 2) return false;
  int units = 0;
  for (char c : whole) units = units * 10 + (c - '0');
  return units < bound || (units == bound && fraction.find_first_not_of('0') == std::string_view::npos);
}

}  // namespace

std::optional<GainChoice> parseGainChoice(std::string_view text) {
  if (text == "auto") return GainChoice{true, 0.0};
  if (!plainDecimal(text) || !withinRange(text)) return std::nullopt;
  // from_chars takes no '+'; the check above let at most one through.
  if (text.front() == '+') text.remove_prefix(1);
  double db = 0.0;
  // Within range, only a number too close to 0 for a double is out of its
  // range: it is 0 dB.
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), db, std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) db = 0.0;
  else if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return GainChoice{false, db == 0.0 ? 0.0 : db};
}

std::string gainChoiceText(const GainChoice& choice) {
  if (choice.automatic) return "auto";
  char text[32];
  // +0.0 turns -0 into 0.
  const auto [end, error] = std::to_chars(text, text + sizeof text, choice.fixedDb + 0.0);
  return error == std::errc() ? std::string(text, end) : std::string("0");
}

std::string describeGain(const GainChoice& choice) {
  return choice.automatic ? std::string("automatic") : "fixed at " + gainChoiceText(choice) + " dB";
}

std::string decibelText(double db) {
  if (!std::isfinite(db)) return "0.0";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", db);
  const std::string s = text;
  return s == "-0.0" ? "0.0" : s;
}

}  // namespace vantorhost
