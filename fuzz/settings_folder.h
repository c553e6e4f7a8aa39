#pragma once
// A private folder for Sonvero.ini during a fuzz run, removed at exit. Each
// save renames a fresh file into place after an fsync, so memory-backed
// storage (/dev/shm) is taken where there is one: on a disk the saves
// would dominate the run.
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_check.h"

namespace fuzz {

inline std::filesystem::path& settingsFolder() {
  static std::filesystem::path folder;
  return folder;
}

inline void removeSettingsFolder() {
  std::error_code ec;
  std::filesystem::remove_all(settingsFolder(), ec);
}

// Creates the folder and points SONVERO_SETTINGS_DIR at it.
inline void useOwnSettingsFolder() {
  // SONVERO_FUZZ_TMP: where scripts/fuzz-short wants it (and cleans up
  // after a crash, when atexit never runs).
  const char* chosen = std::getenv("SONVERO_FUZZ_TMP");
  const std::string base = chosen && *chosen                   ? std::string(chosen)
                           : access("/dev/shm", W_OK) == 0     ? std::string("/dev/shm")
                                                               : std::filesystem::temp_directory_path().string();
  std::string pattern = base + "/sonvero-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) fail("no folder for the settings file", __FILE__, __LINE__);
  settingsFolder() = pattern;
  setenv("SONVERO_SETTINGS_DIR", pattern.c_str(), 1);
  atexit(removeSettingsFolder);
}

}  // namespace fuzz
