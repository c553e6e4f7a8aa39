#pragma once
// Reading and replacing a user's file without ever harming it or what it
// points to: only regular files are read or replaced, reading never blocks
// and never throws, and a replacement leaves on disk the old file or the
// new one, never a mix. Every failure comes with a one-line reason.
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace files {

// A whole file, or why there is none.
struct FileRead {
  enum class State { Read, Missing, Unreadable };
  State state = State::Missing;
  std::string bytes;   // when Read
  std::string reason;  // when Missing or Unreadable
};

// Reads a regular file whole. A file (or symbolic link) that is not there
// is Missing; a folder, device, FIFO or socket, a loop of symbolic links, a
// file this user may not read or one larger than `limit` bytes is
// Unreadable (a FIFO or device is never opened).
FileRead readRegularFile(const std::filesystem::path& file, std::size_t limit);

struct ReplaceResult {
  bool ok = false;
  std::string reason;  // why not, when !ok: the old file then stays as it was
  explicit operator bool() const { return ok; }
};

// Replaces `file` with `bytes`: a temporary file NAME.saving-XXXXXX beside
// it is written, synced and renamed over it, and the folder is synced.
// Only a regular file that this user may write is replaced; a symbolic
// link is followed only to such a file, and stays a link. The new file
// keeps the old one's mode, owner and group (the save fails where the
// owner cannot be kept); a file that is not there is created (its folder
// must exist). A file with more than one hard link is not replaced: the
// rename would split the links. Temporary files of a save that was killed
// are removed by the next replacement of the same file.
ReplaceResult replaceFile(const std::filesystem::path& file, std::string_view bytes);
// The same with the new contents in pieces, written one after the other.
ReplaceResult replaceFile(const std::filesystem::path& file, std::span<const std::string_view> pieces);

inline constexpr std::string_view kTemporaryInfix = ".saving-";

// For tests: called after each step of a replacement, so that a test can
// end the process there.
// TemporaryNamed: the temporary file is there but not yet locked.
enum class ReplaceStep { TemporaryNamed, TemporaryCreated, Written, Synced, Renamed };
void setReplaceStepHook(void (*hook)(ReplaceStep));

}  // namespace files
