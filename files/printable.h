#pragma once
// Bytes from a user's file or command line as a message may quote them:
// a terminal shows exactly the message, never a colour change, a moved
// cursor or a line of a megabyte. Printable UTF-8 stays as it is; a
// control character, a DEL, a C1 control, a byte that is not UTF-8 and the
// backslash are escaped (\t, \n, \r, \\, \xHH, \u0085). A text longer than
// the limit is cut at a character before it, and says how long it was.
#include <cstddef>
#include <string>
#include <string_view>

namespace files {

// Long enough for any name or number a message quotes.
inline constexpr std::size_t kPrintableLimit = 80;
// A file's name or a source's URI: whole, as long as a path may be.
inline constexpr std::size_t kPathLimit = 4096;

std::string printable(std::string_view bytes, std::size_t limit = kPrintableLimit);

}  // namespace files
