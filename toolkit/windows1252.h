#pragma once
#include <string>
#include <string_view>

// Windows-1252, the 8-bit code page of the settings file, and UTF-8, the
// text of everything else.
namespace tk::cp1252 {

// Characters that Windows-1252 cannot hold, and broken UTF-8 sequences,
// become '?' (one per character or broken byte).
std::string fromUtf8(std::string_view utf8);
// Every byte has a character; the five unassigned ones stand for the C1
// controls of the same number, as Windows maps them.
std::string toUtf8(std::string_view bytes);

}  // namespace tk::cp1252
