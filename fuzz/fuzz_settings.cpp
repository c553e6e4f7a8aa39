// The settings reader on arbitrary file contents: opening the main window
// must never crash and must leave every control inside its range; closing
// it writes the 22 values, and opening and closing once more must give the
// same 22 values again (nothing drifts, nothing is lost).
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/settings_folder.h"
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

void setFile(const std::uint8_t* data, std::size_t size) {
  std::ofstream out(Settings::filePath(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
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
  setFile(data, size);
  Main& m = mainForm();
  open(m);
  const auto loaded = controlValues(m);
  close(m);

  const auto saved = fileValues();
  for (std::size_t i = 0; i < kValues; ++i) FUZZ_REQUIRE(saved[i] == std::to_string(loaded[i]));

  open(m);
  FUZZ_REQUIRE(controlValues(m) == loaded);
  close(m);
  FUZZ_REQUIRE(fileValues() == saved);
  return 0;
}
