#pragma once
// Main's parameter controls in the order of the settings keys: the scroll
// bars and sliders are keys 1..12, the check boxes keys 13..21, and key 22
// is the selected Option1 button.
#include <array>
#include <cstddef>
#include <cstdint>

#include "ui/Main.h"

struct MainSettingsControls {
  static constexpr std::size_t kBeatBarKey = 3;  // VScroll4: the Beat: Balken bar
  static constexpr std::size_t kOptionKey = 21;
  static constexpr std::size_t kKeyCount = 22;

  std::array<tk::RangedControl*, 12> ranged;
  std::array<tk::CheckBox*, 9> checks;
};

MainSettingsControls settingsControls(Main& m);

// The values a key may hold: its control's range, 0..2 for a check box,
// 0..3 for the beat-tool choice, and 1..288 for the Beat: Balken bar, which
// may name a bar that does not exist yet.
struct SettingRange {
  std::int32_t low, high;
};
SettingRange settingRange(Main& m, std::size_t key);

// Sets a key's control as the settings file's value does: clamped into its
// range, the Beat: Balken bar waiting for its bar, the choice selecting
// that Option1 button. No handler runs.
void applySetting(Main& m, std::size_t key, std::int32_t value);
// The 22 values as the settings file holds them (a Beat: Balken bar still
// waiting is given, not the scroll bar's value).
std::array<std::int32_t, MainSettingsControls::kKeyCount> settingsValues(Main& m);
