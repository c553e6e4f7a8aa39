#pragma once
// The main window's settings file "Sonvero.ini": 22 keys in section
// "Einstellungen", one per engine parameter control.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace Settings {

inline constexpr std::string_view kFileName = "Sonvero.ini";
inline constexpr std::string_view kSection = "Einstellungen";
// A value is read into a buffer of this many characters: 1279 are kept.
inline constexpr std::size_t kValueBuffer = 1280;

struct Key {
  std::string_view name;          // UTF-8; written as Windows-1252
  std::string_view defaultText;   // when the file, the section or the key is missing
};

// In the order they are written and the controls are set: VScroll1..8,
// Slider1..4, Check1..9, the selected Option1 button.
inline constexpr std::array<Key, 22> kKeys = {{
    {"Beat: Analyzer - ch", "1"},
    {"Beat: Analyzer - BS", "1"},
    {"Beat: VU - BS", "1"},
    {"Beat: Balken - ch", "1"},
    {"Beat: Balken - BS", "1"},
    {"VU - SS", "1"},
    {"VU - b\xC3\x9Csa", "1"},
    {"Beat: VU - ch", "1"},
    {"Spektrum Analyzer - SA", "100"},
    {"Spektrum Analyzer - SS", "1"},
    {"Spektrum Analyzer - b\xC3\x9Csa", "288"},
    {"Spektrum Analyzer - SB", "1"},
    {"Spektrum Analyzer - SA_aktiv", "0"},
    {"Beat: Analyzer - aktiv", "0"},
    {"Beat: VU - aktiv", "0"},
    {"Beat: Balken - aktiv", "0"},
    {"DMX-Ausgabe - aktiv", "0"},
    {"Spektrum Analyzer - b\xC3\x9Csa_aktiv", "0"},
    {"VU - b\xC3\x9Csa_aktiv", "0"},
    {"VU - Mute", "1"},
    {"Spektrum Analyzer - Mute", "1"},
    {"Beat-Tool", "0"},
}};

// A value text as a number: blanks (space, tab, line feed) are ignored
// wherever they stand, an optional sign, digits with one decimal point and
// an exponent are read from the start, and reading stops at the first
// character that cannot continue the number; no number at all reads 0.
double readNumber(std::string_view text);

// The number rounded to whole (halves to even) and kept inside lo..hi.
std::int32_t toControlValue(std::string_view text, std::int32_t lo, std::int32_t hi);

// The folder that holds the file: SONVERO_SETTINGS_DIR when set, else the
// folder of the plug-in library, else (when that folder cannot be written)
// $XDG_CONFIG_HOME/sonvero or ~/.config/sonvero.
std::filesystem::path folder();
std::filesystem::path filePath();

}  // namespace Settings
