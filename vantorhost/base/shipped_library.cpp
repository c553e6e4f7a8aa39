#include "vantorhost/base/shipped_library.h"

#include <cstdlib>
#include <vector>

namespace vantorhost {

namespace fs = std::filesystem;

namespace {

// The folder of the running executable; empty when it cannot be told.
fs::path programFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe.parent_path();
}

}  // namespace

std::string shippedLibraryPath(const std::string& fileName) {
  const fs::path folder = programFolder();
  if (folder.empty()) return fileName;
  std::error_code ec;
  for (const fs::path& candidate : {folder / fileName, folder.parent_path() / "lib" / "sonvero" / fileName})
    if (fs::exists(candidate, ec)) return candidate.string();
  return (folder / fileName).string();
}

fs::path shippedDataFolder(const std::string& name) {
  std::vector<fs::path> candidates;
  if (const char* dir = std::getenv("SONVERO_RESOURCE_DIR"); dir && *dir) candidates.push_back(fs::path(dir) / name);
  if (const fs::path folder = programFolder(); !folder.empty()) {
    candidates.push_back(folder / "resources" / name);
    candidates.push_back(folder.parent_path() / "share" / "sonvero" / name);
  }
  std::error_code ec;
  for (const fs::path& candidate : candidates)
    if (fs::is_directory(candidate, ec)) return candidate;
  return {};
}

}  // namespace vantorhost
