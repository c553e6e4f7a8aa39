#pragma once
// The states a settings file can be in on disk, made in a folder of the
// test's own (a device node only as root, and only there), and a snapshot
// of a folder to prove that a refused save changed nothing. Shared by the
// file tests and the settings fuzz target.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/temp_folder.h"
#include "toolkit/private_profile.h"

namespace support {

enum class FileState {
  Regular,
  LinkToRegular,
  LinkToDevice,  // a FIFO where no device node can be made
  LinkToFolder,
  LinkLoop,
  LinkToNothing,
  Folder,
  Fifo,
  HardLinked,
  LargerThanTheLimit,
  ReadOnly,          // these four: root loads and saves as nobody
  NoReadPermission,
  ReadOnlyFolder,
  AnotherUsersFile,  // root's file that nobody may write: only root can make it
  kCount
};

struct FileStateTraits {
  const char* name;
  bool readable;   // its values are read
  bool writable;   // a save replaces it
  bool asNobody;   // root loads and saves it as nobody
};

inline const FileStateTraits& traits(FileState state) {
  static const FileStateTraits kTraits[] = {
      {"Regular", true, true, false},         {"LinkToRegular", true, true, false},
      {"LinkToDevice", false, false, false},  {"LinkToFolder", false, false, false},
      {"LinkLoop", false, false, false},      {"LinkToNothing", false, false, false},
      {"Folder", false, false, false},        {"Fifo", false, false, false},
      {"HardLinked", true, false, false},     {"LargerThanTheLimit", false, false, false},
      {"ReadOnly", true, false, true},        {"NoReadPermission", false, false, true},
      {"ReadOnlyFolder", true, false, true},  {"AnotherUsersFile", true, false, true},
  };
  return kTraits[static_cast<int>(state)];
}

// Makes `dir`/Sonvero.ini in `state`, holding `contents` where it holds
// any; false when this user cannot make that state.
inline bool makeFileState(FileState state, const std::filesystem::path& dir, const std::string& contents) {
  namespace fs = std::filesystem;
  const fs::path file = dir / "Sonvero.ini";
  const bool root = ::geteuid() == 0;
  const auto openToAll = [&] { fs::permissions(dir, fs::perms::all); };
  switch (state) {
    case FileState::Regular:
      writeBytes(file, contents);
      return true;
    case FileState::LinkToRegular:
      fs::create_directory(dir / "real");
      writeBytes(dir / "real" / "settings.ini", contents);
      fs::create_symlink(dir / "real" / "settings.ini", file);
      return true;
    case FileState::LinkToDevice:
      if (root ? ::mknod((dir / "node").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0
               : ::mkfifo((dir / "node").c_str(), 0666) != 0)
        return false;
      fs::create_symlink(dir / "node", file);
      return true;
    case FileState::LinkToFolder:
      fs::create_directory(dir / "sub");
      fs::create_symlink(dir / "sub", file);
      return true;
    case FileState::LinkLoop:
      fs::create_symlink(file, dir / "loop");
      fs::create_symlink(dir / "loop", file);
      return true;
    case FileState::LinkToNothing:
      fs::create_symlink(dir / "gone.ini", file);
      return true;
    case FileState::Folder:
      fs::create_directory(file);
      return true;
    case FileState::Fifo:
      return ::mkfifo(file.c_str(), 0666) == 0;
    case FileState::HardLinked:
      writeBytes(file, contents);
      fs::create_hard_link(file, dir / "other-name.ini");
      return true;
    case FileState::LargerThanTheLimit:
      writeBytes(file, contents);
      fs::resize_file(file, tk::kMaxProfileBytes + 1);  // sparse: no disk used
      return true;
    case FileState::ReadOnly:
      writeBytes(file, contents);
      fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      openToAll();
      return true;
    case FileState::NoReadPermission:
      writeBytes(file, contents);
      fs::permissions(file, fs::perms::none);
      openToAll();
      return true;
    case FileState::ReadOnlyFolder:
      writeBytes(file, contents);
      fs::permissions(file, fs::perms::all);
      fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                               fs::perms::others_exec);
      return true;
    case FileState::AnotherUsersFile:
      if (!root) return false;
      writeBytes(file, contents);
      fs::permissions(file, fs::perms::all);  // nobody may write it, but not take it from root
      openToAll();
      return true;
    case FileState::kCount:
      break;
  }
  return false;
}

// Every entry of a folder as a save could change it: kind, mode, inode,
// links, owner, size and (for small files) contents.
inline std::map<std::string, std::string> folderSnapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    struct stat st {};
    ::lstat(entry.path().c_str(), &st);
    std::string state = std::to_string(st.st_mode) + " " + std::to_string(st.st_ino) + " " +
                        std::to_string(st.st_nlink) + " " + std::to_string(st.st_uid) + " " +
                        std::to_string(st.st_size);
    if (S_ISREG(st.st_mode) && st.st_size < 65536) state += " " + readBytes(entry.path());
    entries[entry.path().filename()] = state;
  }
  return entries;
}

}  // namespace support
