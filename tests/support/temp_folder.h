#pragma once
// A fresh folder per test, removed afterwards; whole-file helpers; and a
// way to drop root's rights so that folder permissions apply.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace support {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sonvero-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string readBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Runs as user and group nobody for a while, so that folder permissions
// apply also when the tests run as root.
class Unprivileged {
 public:
  explicit Unprivileged(bool drop = true) : wasRoot_(drop && ::geteuid() == 0) {
    if (wasRoot_) ok_ = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
  }
  ~Unprivileged() {
    if (wasRoot_) (void)!(::seteuid(0) == 0 && ::setegid(0) == 0);
  }
  bool ok() const { return !wasRoot_ || ok_; }

 private:
  bool wasRoot_;
  bool ok_ = true;
};

}  // namespace support
