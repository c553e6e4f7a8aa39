#include "ui/main_settings.h"

#include <algorithm>
#include <string>

#include "model/arrays.h"
#include "model/settings.h"
#include "toolkit/private_profile.h"

namespace {

int selectedOption(Main& m) {
  for (int i = 0; i < 4; ++i)
    if (m.Option1[i].value()) return i;
  return 0;
}

}  // namespace

// Every key but the last names one of these controls.
static_assert(std::tuple_size_v<decltype(MainSettingsControls::ranged)> +
                  std::tuple_size_v<decltype(MainSettingsControls::checks)> + 1 ==
              Settings::kKeys.size());
static_assert(MainSettingsControls::kKeyCount == Settings::kKeys.size());

MainSettingsControls settingsControls(Main& m) {
  return {{&m.VScroll1, &m.VScroll2, &m.VScroll3, &m.VScroll4, &m.VScroll5, &m.VScroll6, &m.VScroll7, &m.VScroll8,
           &m.Slider1, &m.Slider2, &m.Slider3, &m.Slider4},
          {&m.Check1, &m.Check2, &m.Check3, &m.Check4, &m.Check5, &m.Check6, &m.Check7, &m.Check8, &m.Check9}};
}

SettingRange settingRange(Main& m, std::size_t key) {
  const MainSettingsControls controls = settingsControls(m);
  if (key == MainSettingsControls::kBeatBarKey) return {1, Arrays::kBarSlots};
  if (key == MainSettingsControls::kOptionKey) return {0, 3};
  if (key < controls.ranged.size()) return {controls.ranged[key]->low(), controls.ranged[key]->high()};
  return {0, 2};
}

void applySetting(Main& m, std::size_t key, std::int32_t value) {
  const SettingRange range = settingRange(m, key);
  value = std::clamp(value, range.low, range.high);
  const MainSettingsControls controls = settingsControls(m);
  if (key == MainSettingsControls::kBeatBarKey) {
    m.VScroll4.setValue(value);
    m.pendingBeatBar = static_cast<std::int16_t>(value > m.VScroll4.high() ? value : 0);
  } else if (key == MainSettingsControls::kOptionKey) {
    m.Option1[value].setValue(true);
  } else if (key < controls.ranged.size()) {
    controls.ranged[key]->setValue(value);
  } else {
    controls.checks[key - controls.ranged.size()]->setValue(static_cast<std::int16_t>(value));
  }
}

std::array<std::int32_t, MainSettingsControls::kKeyCount> settingsValues(Main& m) {
  std::array<std::int32_t, MainSettingsControls::kKeyCount> values{};
  const MainSettingsControls controls = settingsControls(m);
  for (std::size_t i = 0; i < controls.ranged.size(); ++i) values[i] = controls.ranged[i]->value();
  // A bar number still waiting for its bar is kept, not lost.
  if (m.pendingBeatBar != 0) values[MainSettingsControls::kBeatBarKey] = m.pendingBeatBar;
  for (std::size_t i = 0; i < controls.checks.size(); ++i) values[controls.ranged.size() + i] = controls.checks[i]->value();
  values[MainSettingsControls::kOptionKey] = selectedOption(m);
  return values;
}

// Reads all 22 keys first, then sets the controls in the keys' order. A
// value outside its control's range is clamped into it; the Beat: Balken
// bar waits for the tick until that many bars exist.
void Main::load_settings() {
  tk::PrivateProfile file = tk::PrivateProfile::load(Settings::filePath());
  std::array<std::string, Settings::kKeys.size()> texts;
  for (std::size_t i = 0; i < texts.size(); ++i)
    texts[i] = file.get(Settings::kSection, Settings::kKeys[i].name, Settings::kKeys[i].defaultText,
                        Settings::kValueBuffer);

  for (std::size_t i = 0; i < texts.size(); ++i) {
    const SettingRange range = settingRange(*this, i);
    applySetting(*this, i, Settings::toControlValue(texts[i], range.low, range.high));
  }
}

// Writes all 22 keys, changed or not, in one replacement of the file. A
// failed write is ignored: the controls keep their values and the old file
// stays whole.
void Main::save_settings() {
  const std::filesystem::path path = Settings::filePath();
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);

  const auto values = settingsValues(*this);
  tk::PrivateProfile file = tk::PrivateProfile::load(path);
  for (std::size_t i = 0; i < values.size(); ++i)
    file.set(Settings::kSection, Settings::kKeys[i].name, std::to_string(values[i]));
  (void)file.save();
}
