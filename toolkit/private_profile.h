#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// Private-profile (INI) files as the Windows functions keep them: 8-bit
// Windows-1252 text, "[section]" headers and "key=value" lines, names
// matched without regard to case. Every call opens and closes the file;
// nothing is cached. Names and values are UTF-8 at this interface.
namespace tk {

// The value text of `key` in `section`, or `defaultValue` when the file,
// the section or the key is missing; at most bufferSize - 1 characters of
// it, as a buffer of bufferSize characters holds. A present but empty value
// gives an empty text. Blanks around the value and one pair of quotes
// around it are dropped. Any line end (CR LF, LF, CR) is read.
std::string getPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize, const std::filesystem::path& file);

// Stores `value` for `key` in `section`: replaces the value in place when
// the key exists, otherwise adds the key at the end of the section, adding
// the section (and the file) when missing. Every other byte of the file
// stays as it was; new lines end in CR LF. The file is replaced whole and
// atomically (a temporary file renamed over it), so a failed write leaves
// the old file untouched. Returns false when the file could not be written.
bool writePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::filesystem::path& file);

}  // namespace tk
