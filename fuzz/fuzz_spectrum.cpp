// The spectrum read: the bridge announces an arbitrary bin count and writes
// an arbitrary text; GetSpectrum must decode exactly what a 2n+1 buffer of
// blanks holds after the bridge's write, and nothing outside it.
//
// Input: two bytes of count (little endian, 16-bit signed), then the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "audio/modVbVis10.h"
#include "bridge/vbvis.h"
#include "fuzz/fuzz_check.h"

namespace {

// Written apart from the module on purpose: a second reading of the rule
// (blanks skipped, either case, stop at the first other character).
int referenceBin(char a, char b) {
  static constexpr std::string_view kDigits = "0123456789abcdef";
  int value = 0;
  for (char c : {a, b}) {
    if (c == ' ' || c == '\t' || c == '\n') continue;
    const char lower = (c >= 'A' && c <= 'F') ? static_cast<char>(c - 'A' + 'a') : c;
    const size_t digit = kDigits.find(lower);
    if (digit == std::string_view::npos) break;
    value = value * 16 + static_cast<int>(digit);
  }
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static const bool opened = vbvis_open("script") == 0;
  FUZZ_REQUIRE(opened);

  const auto count = static_cast<std::int16_t>(data[0] | (data[1] << 8));
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  vbvis_script_spectrum(count, text.data(), static_cast<std::int32_t>(text.size()));

  std::int32_t side = 0;
  const auto bins = modVbVis10::GetSpectrum(side);
  FUZZ_REQUIRE(side == 0);
  if (count < 0 || count > 16383) {
    FUZZ_REQUIRE(bins.empty());
    return 0;
  }
  FUZZ_REQUIRE(bins.size() == static_cast<size_t>(count));
  // The buffer the module hands the bridge: 2n+1 blanks, overwritten by at
  // most that many characters of the text.
  const size_t length = 2 * static_cast<size_t>(count) + 1;
  auto at = [&](size_t k) { return k < text.size() && k < length ? text[k] : ' '; };
  for (size_t i = 0; i < bins.size(); ++i) FUZZ_REQUIRE(bins[i] == referenceBin(at(2 * i), at(2 * i + 1)));
  return 0;
}
