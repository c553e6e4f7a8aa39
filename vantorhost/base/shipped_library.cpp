#include "vantorhost/base/shipped_library.h"

#include <filesystem>

namespace vantorhost {

std::string shippedLibraryPath(const std::string& fileName) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fileName;
  for (const fs::path& candidate : {exe.parent_path() / fileName,
                                    exe.parent_path().parent_path() / "lib" / "sonvero" / fileName})
    if (fs::exists(candidate)) return candidate.string();
  return (exe.parent_path() / fileName).string();
}

}  // namespace vantorhost
