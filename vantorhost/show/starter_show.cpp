#include "vantorhost/show/starter_show.h"

#include "files/safe_file.h"
#include "vantorhost/show/show_file.h"

namespace vantorhost {

bool isStarterShow(const std::filesystem::path& file, const std::filesystem::path& starterFolder) {
  namespace fs = std::filesystem;
  if (file.empty() || starterFolder.empty()) return false;
  std::error_code ec;
  const fs::path folder = fs::weakly_canonical(starterFolder, ec);
  if (ec) return false;
  const fs::path where = fs::weakly_canonical(file, ec);
  if (ec) return false;
  if (where.parent_path() == folder) return true;
  const fs::path starter = folder / where.filename();
  if (!fs::is_regular_file(starter, ec)) return false;
  const files::FileRead mine = files::readRegularFile(where, kMaxShowBytes);
  const files::FileRead shipped = files::readRegularFile(starter, kMaxShowBytes);
  return mine.state == files::FileRead::State::Read && shipped.state == files::FileRead::State::Read &&
         mine.bytes == shipped.bytes;
}

}  // namespace vantorhost
