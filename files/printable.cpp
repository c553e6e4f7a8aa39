#include "files/printable.h"

#include <cstdint>
#include <cstdio>

namespace files {

namespace {

// The code point of the well-formed UTF-8 sequence at the start of `s` and
// its length; length 0 when it is not one (a stray byte, a cut sequence,
// an overlong form, a surrogate, beyond U+10FFFF).
struct Decoded {
  char32_t code;
  std::size_t length;
};

Decoded decode(std::string_view s) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t code = 0, least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, code = lead & 0x1F, least = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, code = lead & 0x0F, least = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, code = lead & 0x07, least = 0x10000;
  else return {0, 0};
  if (s.size() < length) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {0, 0};
    code = (code << 6) | (byte(i) & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {0, 0};
  return {code, length};
}

// Characters that move the cursor, end a line or turn the text around.
bool control(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

std::string escaped(char32_t c) {
  switch (c) {
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    default: break;
  }
  char text[16];  // room for any code point, though only up to U+FFFF is escaped
  if (c < 0x80) std::snprintf(text, sizeof text, "\\x%02x", static_cast<unsigned>(c));
  else std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned>(c));
  return text;
}

}  // namespace

std::string printable(std::string_view bytes, std::size_t limit) {
  std::string out;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const Decoded d = decode(bytes.substr(at));
    const std::size_t length = d.length ? d.length : 1;
    if (at + length > limit) break;
    if (!d.length) {
      char text[8];
      std::snprintf(text, sizeof text, "\\x%02x", static_cast<unsigned char>(bytes[at]));
      out += text;
    } else if (d.code == '\\') {
      out += "\\\\";
    } else if (control(d.code)) {
      out += escaped(d.code);
    } else {
      out.append(bytes.substr(at, length));
    }
    at += length;
  }
  if (at < bytes.size()) out += "... (" + std::to_string(bytes.size()) + " bytes)";
  return out;
}

}  // namespace files
