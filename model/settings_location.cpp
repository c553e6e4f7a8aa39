#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "model/settings.h"

namespace Settings {
namespace {

std::filesystem::path libraryFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&libraryFolder), &info) == 0 || !info.dli_fname) return {};
  std::error_code ec;
  const std::filesystem::path library = std::filesystem::weakly_canonical(info.dli_fname, ec);
  return ec ? std::filesystem::path{} : library.parent_path();
}

bool writable(const std::filesystem::path& dir) {
  return !dir.empty() && faccessat(AT_FDCWD, dir.c_str(), W_OK, AT_EACCESS) == 0;
}

std::filesystem::path userConfigFolder() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return std::filesystem::path(xdg) / "sonvero";
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* user = getpwuid(geteuid());
    home = user ? user->pw_dir : "/tmp";
  }
  return std::filesystem::path(home) / ".config" / "sonvero";
}

}  // namespace

std::filesystem::path folder() {
  if (const char* dir = std::getenv("SONVERO_SETTINGS_DIR"); dir && *dir) return dir;
  // A system-wide install cannot keep the file beside the library.
  if (std::filesystem::path own = libraryFolder(); writable(own)) return own;
  return userConfigFolder();
}

std::filesystem::path filePath() { return folder() / kFileName; }

}  // namespace Settings
