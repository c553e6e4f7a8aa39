// The settings file in every state a file system can hand over (the first
// byte chooses: a regular file, links to a file, a device, a folder or
// nothing, a loop, a FIFO, hard links, read-only, too large, ...) with
// arbitrary contents (the other bytes). Opening the main window must never
// crash, never block and must leave every control inside its range, at
// the defaults when the file cannot be read. Closing it writes the 22
// values where a save may replace the file, and opening and closing once
// more gives the same 22 values again; anywhere else the save changes
// nothing at all. No temporary file is ever left.
#include <sys/stat.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/settings_folder.h"
#include "tests/support/file_states.h"
#include "model/arrays.h"
#include "model/settings.h"
#include "toolkit/application.h"
#include "toolkit/private_profile.h"
#include "toolkit/simulated_loop.h"
#include "ui/Main.h"
#include "ui/main_settings.h"

namespace {

constexpr std::size_t kValues = Settings::kKeys.size();
tk::SimulatedLoop loop;

// Empties the folder (whatever the last state left) and makes the next.
support::FileState setFile(const std::uint8_t* data, std::size_t size) {
  namespace fs = std::filesystem;
  const fs::path& dir = fuzz::settingsFolder();
  fs::permissions(dir, fs::perms::owner_all);
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::error_code ec;
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::replace | fs::perm_options::nofollow, ec);
    fs::remove_all(entry.path());
  }
  const auto state = static_cast<support::FileState>(size == 0 ? 0 : data[0] % static_cast<int>(support::FileState::kCount));
  const std::string contents = size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (support::makeFileState(state, dir, contents)) return state;
  support::makeFileState(support::FileState::Regular, dir, contents);
  return support::FileState::Regular;
}

// The values the controls hold, in the keys' order (the Beat: Balken bar
// as the file keeps it while it waits for its bar).
std::array<std::int32_t, kValues> controlValues(Main& m) {
  const MainSettingsControls controls = settingsControls(m);
  std::array<std::int32_t, kValues> values{};
  std::size_t k = 0;
  for (const tk::RangedControl* r : controls.ranged) {
    FUZZ_REQUIRE(r->value() >= r->low() && r->value() <= r->high());
    values[k++] = r->value();
  }
  if (m.pendingBeatBar != 0) {
    FUZZ_REQUIRE(m.pendingBeatBar > 1 && m.pendingBeatBar <= Arrays::kBarSlots);
    values[MainSettingsControls::kBeatBarKey] = m.pendingBeatBar;
  }
  for (const tk::CheckBox* c : controls.checks) {
    FUZZ_REQUIRE(c->value() >= 0 && c->value() <= 2);
    values[k++] = c->value();
  }
  int selected = 0;
  for (int i = 0; i < 4; ++i)
    if (m.Option1[i].value()) selected++, values[k] = i;
  FUZZ_REQUIRE(selected == 1);
  return values;
}

std::array<std::string, kValues> fileValues() {
  std::array<std::string, kValues> texts;
  for (std::size_t i = 0; i < kValues; ++i)
    texts[i] = tk::getPrivateProfileString(Settings::kSection, Settings::kKeys[i].name, "(missing)",
                                           Settings::kValueBuffer, Settings::filePath());
  return texts;
}

void open(Main& m) { tk::app().runEvent([&] { m.show(); }); }
void close(Main& m) { tk::app().runEvent([&] { m.unload(tk::UnloadMode::CloseBox); }); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::useOwnSettingsFolder();
  tk::app().setLoop(&loop);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const support::FileState state = setFile(data, size);
  const support::FileStateTraits& traits = support::traits(state);
  const auto before = support::folderSnapshot(fuzz::settingsFolder());
  const auto owner = [] {
    struct stat st {};
    ::stat(Settings::filePath().c_str(), &st);
    return std::to_string(st.st_mode) + " " + std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid);
  };
  const std::string ownerBefore = owner();
  Main& m = mainForm();
  std::array<std::int32_t, kValues> loaded{};
  {
    support::Unprivileged user(traits.asNobody);
    FUZZ_REQUIRE(user.ok());
    open(m);
    loaded = controlValues(m);
    close(m);
  }
  if (!traits.readable)
    for (std::size_t i = 0; i < kValues; ++i) FUZZ_REQUIRE(std::to_string(loaded[i]) == Settings::kKeys[i].defaultText);
  if (!traits.writable) {
    FUZZ_REQUIRE(support::folderSnapshot(fuzz::settingsFolder()) == before);
    return 0;
  }
  // The file a save replaced keeps its mode, owner and group; a link stays a link.
  if (state == support::FileState::LinkToRegular) FUZZ_REQUIRE(std::filesystem::is_symlink(Settings::filePath()));
  FUZZ_REQUIRE(owner() == ownerBefore);

  const auto saved = fileValues();
  for (std::size_t i = 0; i < kValues; ++i) FUZZ_REQUIRE(saved[i] == std::to_string(loaded[i]));

  open(m);
  FUZZ_REQUIRE(controlValues(m) == loaded);
  close(m);
  FUZZ_REQUIRE(fileValues() == saved);
  // The temporary file went into place: the folder holds what it held.
  FUZZ_REQUIRE(support::folderSnapshot(fuzz::settingsFolder()).size() == before.size());
  return 0;
}
