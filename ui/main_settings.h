#pragma once
// Main's parameter controls in the order of the settings keys: the scroll
// bars and sliders are keys 1..12, the check boxes keys 13..21, and key 22
// is the selected Option1 button.
#include <array>
#include <cstddef>

#include "ui/Main.h"

struct MainSettingsControls {
  static constexpr std::size_t kBeatBarKey = 3;  // VScroll4: the Beat: Balken bar
  static constexpr std::size_t kOptionKey = 21;

  std::array<tk::RangedControl*, 12> ranged;
  std::array<tk::CheckBox*, 9> checks;
};

MainSettingsControls settingsControls(Main& m);
