#include "files/set_aside.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "files/printable.h"

namespace files {

namespace {

std::string stamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// Renames without ever replacing `to`; where the file system cannot say so
// in one call, a hard link and an unlink do the same for a file.
int renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  if (::link(from.c_str(), to.c_str()) != 0) return -1;
  return ::unlink(from.c_str());
}

}  // namespace

SetAside setAside(const std::filesystem::path& file, std::string_view why) {
  const std::string base = file.string() + "." + std::string(why) + "-" + stamp();
  SetAside result;
  for (int n = 1; n <= 1000; ++n) {
    std::filesystem::path to = n == 1 ? base : base + "-" + std::to_string(n);
    if (renameNoReplace(file, to) == 0) {
      result.ok = true;
      result.to = std::move(to);
      return result;
    }
    if (errno != EEXIST) break;
  }
  result.reason = "\"" + printable(file.string(), kPathLimit) + "\": " + std::strerror(errno);
  return result;
}

}  // namespace files
