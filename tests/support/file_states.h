#pragma once
// The states a settings file can be in on disk, and a snapshot of a folder
// to prove that a refused save changed nothing.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/temp_folder.h"
#include "toolkit/private_profile.h"

namespace support {

// LinkToDevice is a FIFO where no device node can be made; the last four
// are loaded and saved as nobody where root runs the test; only root can
// make AnotherUsersFile (root's file that nobody may write but not own).
enum class FileState {
  Regular, LinkToRegular, LinkToDevice, LinkToFolder, LinkLoop, LinkToNothing, Folder, Fifo, HardLinked,
  LargerThanTheLimit, ReadOnly, NoReadPermission, ReadOnlyFolder, AnotherUsersFile, kCount
};

struct FileStateTraits {
  const char* name;
  bool readable;  // its values are read
  bool writable;  // a save replaces it
  bool asNobody;
};

inline const FileStateTraits& traits(FileState state) {
  static const FileStateTraits kTraits[] = {
      {"Regular", true, true, false},        {"LinkToRegular", true, true, false},
      {"LinkToDevice", false, false, false}, {"LinkToFolder", false, false, false},
      {"LinkLoop", false, false, false},     {"LinkToNothing", false, false, false},
      {"Folder", false, false, false},       {"Fifo", false, false, false},
      {"HardLinked", true, false, false},    {"LargerThanTheLimit", false, false, false},
      {"ReadOnly", true, false, true},       {"NoReadPermission", false, false, true},
      {"ReadOnlyFolder", true, false, true}, {"AnotherUsersFile", true, false, true},
  };
  return kTraits[static_cast<int>(state)];
}

// Makes `dir`/Sonvero.ini in `state`, holding `contents` where it holds
// any; false when this user cannot make that state.
inline bool makeFileState(FileState state, const std::filesystem::path& dir, const std::string& contents) {
  namespace fs = std::filesystem;
  using enum FileState;
  const fs::path file = dir / "Sonvero.ini";
  const bool root = ::geteuid() == 0;
  if (state == AnotherUsersFile && !root) return false;
  switch (state) {
    case LinkToRegular:  // to a file of its own mode (and, as root, another user's)
      fs::create_directory(dir / "real");
      writeBytes(dir / "real" / "settings.ini", contents);
      fs::permissions(dir / "real" / "settings.ini", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
      fs::create_symlink(dir / "real" / "settings.ini", file);
      return !root || ::chown((dir / "real" / "settings.ini").c_str(), 65534, 65534) == 0;
    case LinkToDevice:
      fs::create_symlink(dir / "node", file);
      return root ? ::mknod((dir / "node").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0
                  : ::mkfifo((dir / "node").c_str(), 0666) == 0;
    case LinkToFolder:
      fs::create_directory(dir / "sub");
      fs::create_symlink(dir / "sub", file);
      return true;
    case LinkLoop:
      fs::create_symlink(file, dir / "loop");
      fs::create_symlink(dir / "loop", file);
      return true;
    case LinkToNothing:
      fs::create_symlink(dir / "gone.ini", file);
      return true;
    case Folder:
      return fs::create_directory(file);
    case Fifo:
      return ::mkfifo(file.c_str(), 0666) == 0;
    default:
      break;
  }
  // The rest are regular files.
  writeBytes(file, contents);
  if (state == HardLinked) fs::create_hard_link(file, dir / "other-name.ini");
  if (state == LargerThanTheLimit) fs::resize_file(file, tk::kMaxProfileBytes + 1);  // sparse: no disk used
  if (state == ReadOnly) fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  if (state == NoReadPermission) fs::permissions(file, fs::perms::none);
  if (state == ReadOnlyFolder || state == AnotherUsersFile) fs::permissions(file, fs::perms::all);
  if (traits(state).asNobody) fs::permissions(dir, fs::perms::all);
  if (state == ReadOnlyFolder)
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read | fs::perms::others_exec);
  return true;
}

// Every entry of a folder as a save could change it: kind, mode, inode,
// links, owner, size and (for small files) contents.
inline std::map<std::string, std::string> folderSnapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    struct stat st {};
    ::lstat(entry.path().c_str(), &st);
    entries[entry.path().filename()] = std::to_string(st.st_mode) + " " + std::to_string(st.st_ino) + " " +
                                       std::to_string(st.st_nlink) + " " + std::to_string(st.st_uid) + " " +
                                       std::to_string(st.st_size) +
                                       (S_ISREG(st.st_mode) && st.st_size < 65536 ? " " + readBytes(entry.path()) : "");
  }
  return entries;
}

}  // namespace support
