#pragma once
// Tokens a hostile or damaged file may hold, and what a message quoting
// them must be: nothing a terminal acts on, and short.
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hostile {

// A NUL, bytes that are not UTF-8, escape sequences (7- and 8-bit), 900 KB.
inline std::vector<std::string> tokens() {
  return {std::string("bad\0name", 8), "\xff\xfe\xC3", "\x1b[2J\x1b[31mred", "\xC2\x9B" "31m",
          std::string(900'000, '7')};
}

inline void expectPrintable(const std::string& message) {
  for (unsigned char c : message) EXPECT_TRUE(c >= 0x20 && c != 0x7f) << "byte " << int(c) << " in: " << message;
  EXPECT_LT(message.size(), 400u) << message.substr(0, 200);
}

}  // namespace hostile
