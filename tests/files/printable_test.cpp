// Bytes a message quotes: printable UTF-8 as it is, everything a terminal
// would act on escaped, long texts cut at a character with their length.
#include <gtest/gtest.h>

#include <string>

#include "files/printable.h"

using files::printable;

TEST(Printable, KeepsPrintableTextAndEscapesWhatATerminalActsOn) {
  EXPECT_EQ(printable("Kan\xC3\xA4le.Combo1 1..288"), "Kan\xC3\xA4le.Combo1 1..288");
  EXPECT_EQ(printable(std::string("a\0b", 3)), "a\\x00b");
  EXPECT_EQ(printable("\x1b[31mred\x1b[0m"), "\\x1b[31mred\\x1b[0m");
  EXPECT_EQ(printable("tab\there\r\nnext"), "tab\\there\\r\\nnext");
  EXPECT_EQ(printable("del\x7f"), "del\\x7f");
  EXPECT_EQ(printable("back\\slash"), "back\\\\slash");
  // C1 controls (an 8-bit CSI), bidirectional overrides and line separators.
  EXPECT_EQ(printable("\xC2\x9B" "2J"), "\\u009b2J");
  EXPECT_EQ(printable("a\xE2\x80\xAE" "b\xE2\x80\xA8"), "a\\u202eb\\u2028");
  // Not UTF-8: stray, cut, overlong and surrogate sequences byte by byte.
  EXPECT_EQ(printable("\xff\xC3"), "\\xff\\xc3");
  EXPECT_EQ(printable("\xC0\xAF"), "\\xc0\\xaf");
  EXPECT_EQ(printable("\xED\xA0\x80"), "\\xed\\xa0\\x80");
  EXPECT_EQ(printable("\xF0\x9F\x8E\xB5"), "\xF0\x9F\x8E\xB5");
}

TEST(Printable, CutsALongTextAtACharacterAndSaysHowLongItWas) {
  const std::string huge(900'000, '7');
  const std::string shown = printable(huge);
  EXPECT_EQ(shown, std::string(files::kPrintableLimit, '7') + "... (900000 bytes)");
  EXPECT_EQ(printable(std::string(files::kPrintableLimit, 'x')), std::string(files::kPrintableLimit, 'x'));
  // A two-byte character across the limit is left out whole.
  const std::string umlauts = std::string(files::kPrintableLimit - 1, 'a') + "\xC3\xA4";
  EXPECT_EQ(printable(umlauts), std::string(files::kPrintableLimit - 1, 'a') + "... (81 bytes)");
  const std::string path = "/" + std::string(4000, 'p');
  EXPECT_EQ(printable(path, files::kPathLimit), path);
}
