#include "audio/modVbVis10.h"

#include <string>
#include <vector>

#include "bridge/vbvis.h"

namespace modVbVis10 {
namespace {

// A blank: space, tab or line feed.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reused from read to read: the tick reads on every 75 ms without allocating.
std::string textBuffer;
std::vector<std::uint8_t> bins;

}  // namespace

std::uint8_t decodeHexPair(char first, char second) {
  int value = 0;
  for (char c : {first, second}) {
    if (isBlank(c)) continue;
    int d = hexDigit(c);
    if (d < 0) break;
    value = value * 16 + d;
  }
  return static_cast<std::uint8_t>(value);
}

std::span<const std::uint8_t> GetSpectrum(std::int32_t& side) {
  const std::int16_t n = vbvis_spectrum(0, nullptr, 0);
  if (n < 0 || n > 16383) return {};
  const std::int16_t length = static_cast<std::int16_t>(2 * n + 1);
  textBuffer.assign(static_cast<size_t>(length), ' ');
  vbvis_spectrum(side, textBuffer.data(), length);
  bins.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) bins[static_cast<size_t>(i)] = decodeHexPair(textBuffer[2 * i], textBuffer[2 * i + 1]);
  return {bins.data(), bins.size()};
}

std::int16_t GetVU(std::int32_t& side) {
  const std::int16_t level = vbvis_vu(side);
  return level < 0 ? 0 : level;
}

}  // namespace modVbVis10
