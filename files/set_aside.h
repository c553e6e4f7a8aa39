#pragma once
// Moving a user's file out of the way without losing it: a file that the
// program cannot use is renamed beside itself under a name that says why
// and when, so that the program may write its own again and the user still
// finds the old one. Never replaces anything.
#include <filesystem>
#include <string>
#include <string_view>

namespace files {

struct SetAside {
  bool ok = false;
  std::filesystem::path to;  // where it went, when ok
  std::string reason;        // why not, when !ok: the file then stays where it was
  explicit operator bool() const { return ok; }
};

// Renames `file` (whatever it is: a link is moved as a link) to
// FILE.WHY-YYYYMMDD-HHMMSS in its folder, local time; when that name is
// taken, FILE.WHY-YYYYMMDD-HHMMSS-2, -3 and so on.
SetAside setAside(const std::filesystem::path& file, std::string_view why);

}  // namespace files
