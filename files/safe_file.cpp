#include "files/safe_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "files/printable.h"

namespace files {
namespace {

namespace fs = std::filesystem;

void (*stepHook)(ReplaceStep) = nullptr;

void reached(ReplaceStep step) {
  if (stepHook) stepHook(step);
}

std::string quoted(const fs::path& path) { return "\"" + printable(path.string(), kPathLimit) + "\""; }

std::string failure(const fs::path& path, int error) { return quoted(path) + ": " + std::strerror(error); }

std::string notRegular(const fs::path& path, mode_t mode) {
  const char* kind = S_ISDIR(mode)   ? "a folder"
                     : S_ISCHR(mode)  ? "a character device"
                     : S_ISBLK(mode)  ? "a block device"
                     : S_ISFIFO(mode) ? "a FIFO"
                     : S_ISSOCK(mode) ? "a socket"
                                      : "something else";
  return quoted(path) + " is " + kind + ", not a regular file";
}

// Closes a descriptor when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The file a replacement writes: `file` itself or where its symbolic links
// lead, checked to be a regular file with a single link that this user may
// write, or not there yet. Gives the reason when it may not be replaced.
struct Target {
  fs::path path;
  bool exists = false;
  struct stat status {};
};

std::string findTarget(const fs::path& file, Target& target) {
  target.path = file;
  if (::lstat(file.c_str(), &target.status) != 0) {
    if (errno == ENOENT) return {};
    return failure(file, errno);
  }
  if (S_ISLNK(target.status.st_mode)) {
    char* resolved = ::realpath(file.c_str(), nullptr);
    if (!resolved) {
      if (errno == ENOENT) return quoted(file) + " is a symbolic link that leads nowhere";
      if (errno == ELOOP) return quoted(file) + " is a loop of symbolic links";
      return failure(file, errno);
    }
    target.path = resolved;
    std::free(resolved);
    if (::lstat(target.path.c_str(), &target.status) != 0) return failure(target.path, errno);
  }
  if (!S_ISREG(target.status.st_mode)) return notRegular(target.path, target.status.st_mode);
  if (target.status.st_nlink > 1)
    return quoted(target.path) + " has " + std::to_string(target.status.st_nlink) +
           " hard links; replacing it would split them";
  if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) return failure(target.path, errno);
  target.exists = true;
  return {};
}

fs::path folderOf(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

std::string temporaryPrefix(const fs::path& target) { return target.filename().string() + std::string(kTemporaryInfix); }

// Temporary files of earlier saves whose process has gone: nobody holds
// their lock any more.
void removeLeftovers(const fs::path& target) {
  const std::string prefix = temporaryPrefix(target);
  std::error_code ec;
  for (fs::directory_iterator it(folderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(prefix) || name.size() != prefix.size() + 6) continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const Descriptor fd(::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() >= 0 && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) ::unlink(it->path().c_str());
  }
}

// Whether `name` still is the file open on `fd`.
bool stillNamed(int fd, const fs::path& name) {
  struct stat open {}, named {};
  return ::fstat(fd, &open) == 0 && ::lstat(name.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

// Creates NAME.saving-XXXXXX beside the target and locks it for as long as
// the descriptor lives. A file that replaces another starts private; a new
// one gets the usual mode of new files.
int createTemporary(const fs::path& target, bool replacing, fs::path& temporary) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[6] = {};
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return -1;
    std::string suffix;
    for (unsigned char r : random) suffix += kLetters[r % (sizeof kLetters - 1)];
    temporary = folderOf(target) / (temporaryPrefix(target) + suffix);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          replacing ? 0600 : 0666);
    if (fd >= 0) {
      reached(ReplaceStep::TemporaryNamed);
      // Until it is locked, another save's clean-up may take it for a
      // leftover and remove it: only one that is locked and still there
      // under its name is used, else another name is tried.
      if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && stillNamed(fd, temporary)) return fd;
      ::close(fd);
      continue;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

// The new file gets the old one's owner and group (only where this process
// may set them) and then its mode, which a change of owner may have cut.
std::string keepOwnerAndMode(int fd, const Target& target) {
  struct stat mine {};
  if (::fstat(fd, &mine) != 0) return failure(target.path, errno);
  const struct stat& old = target.status;
  if ((mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
    return quoted(target.path) + ": cannot keep its owner and group (" + std::to_string(old.st_uid) + ":" +
           std::to_string(old.st_gid) + "): " + std::strerror(errno);
  if (::fchmod(fd, old.st_mode & 07777) != 0) return failure(target.path, errno);
  return {};
}

// Makes the rename itself last; where the file system cannot sync a folder
// there is nothing more to do.
void syncFolder(const fs::path& folder) {
  const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

// Memory for a large file on large pages, faulted in at once where the
// system allows: page by page, making room for 50 MB costs several times
// reading them. Only a hint; nothing depends on it.
void preferLargePages(void* buffer, std::size_t size) {
  constexpr std::size_t kWorthIt = std::size_t{4} << 20;
  if (size < kWorthIt) return;
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = (reinterpret_cast<std::uintptr_t>(buffer) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(buffer) + size) & ~(page - 1);
  if (end <= begin) return;
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
}

}  // namespace

FileRead readRegularFile(const std::filesystem::path& file, std::size_t limit) {
  FileRead result;
  const auto unreadable = [&](std::string reason) {
    result.state = FileRead::State::Unreadable;
    result.reason = std::move(reason);
    return result;
  };
  // Looked at before it is opened: opening a FIFO or a device may block
  // or do something.
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) {
    if (errno != ENOENT) return unreadable(failure(file, errno));
    result.reason = failure(file, errno);
    return result;
  }
  if (!S_ISREG(st.st_mode)) return unreadable(notRegular(file, st.st_mode));
  const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return unreadable(failure(file, errno));
  // It may have been swapped meanwhile.
  if (::fstat(fd.get(), &st) != 0) return unreadable(failure(file, errno));
  if (!S_ISREG(st.st_mode)) return unreadable(notRegular(file, st.st_mode));
  const std::string tooLarge = quoted(file) + " is larger than " + std::to_string(limit) + " bytes";
  if (static_cast<std::uintmax_t>(st.st_size) > limit) return unreadable(tooLarge);
  // One byte more than the file holds, so that its end is seen without
  // growing (and copying) the buffer.
  std::string bytes;
  std::size_t have = 0;
  try {
    bytes.reserve(static_cast<std::size_t>(st.st_size) + 1);
    preferLargePages(bytes.data(), bytes.capacity());
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    for (;;) {
      // A file that grows while it is read is read to its end, up to the limit.
      if (have == bytes.size()) {
        if (bytes.size() > limit) return unreadable(tooLarge);
        bytes.resize(bytes.size() + bytes.size() / 2);
      }
      const ssize_t n = ::read(fd.get(), bytes.data() + have, bytes.size() - have);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return unreadable(failure(file, errno));
      if (n == 0) break;
      have += static_cast<std::size_t>(n);
    }
  } catch (const std::bad_alloc&) {
    return unreadable(quoted(file) + " does not fit in memory");
  }
  if (have > limit) return unreadable(tooLarge);
  bytes.resize(have);
  result.state = FileRead::State::Read;
  result.bytes = std::move(bytes);
  return result;
}

ReplaceResult replaceFile(const std::filesystem::path& file, std::string_view bytes) {
  return replaceFile(file, std::span<const std::string_view>(&bytes, 1));
}

ReplaceResult replaceFile(const std::filesystem::path& file, std::span<const std::string_view> pieces) {
  Target target;
  if (std::string why = findTarget(file, target); !why.empty()) return {false, why};
  removeLeftovers(target.path);
  fs::path temporary;
  const Descriptor fd(createTemporary(target.path, target.exists, temporary));
  if (fd.get() < 0) return {false, failure(folderOf(target.path), errno)};
  reached(ReplaceStep::TemporaryCreated);
  const auto abandon = [&](std::string why) {
    ::unlink(temporary.c_str());
    return ReplaceResult{false, std::move(why)};
  };
  if (target.exists)
    if (std::string why = keepOwnerAndMode(fd.get(), target); !why.empty()) return abandon(why);
  for (const std::string_view piece : pieces)
    if (!writeAll(fd.get(), piece)) return abandon(failure(temporary, errno));
  reached(ReplaceStep::Written);
  if (::fsync(fd.get()) != 0) return abandon(failure(temporary, errno));
  reached(ReplaceStep::Synced);
  // Renamed while still locked, so that no other save takes it for a leftover.
  if (::rename(temporary.c_str(), target.path.c_str()) != 0) return abandon(failure(target.path, errno));
  reached(ReplaceStep::Renamed);
  syncFolder(folderOf(target.path));
  return {true, {}};
}

void setReplaceStepHook(void (*hook)(ReplaceStep)) { stepHook = hook; }

}  // namespace files
