#pragma once
// What the host may do to the plug-in beyond the host interfaces: write
// and read the shared tables and the main window's 22 parameters as the
// dialogs and the settings file would, and drive channel output directly.
// Exported by the plug-in library.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A bar as the plug-in's table holds it, field by field.
struct DiagnosticsBar {
  std::int16_t number;  // slot + 1 while the slot holds a bar, 0 when free
  std::int16_t fromPixel, toPixel, channelSummary, boostPercent, threshold;
  std::uint8_t setOnExceed;
  std::int16_t setValue;
};

// One of the main window's parameters that the settings file keeps: the
// control's name and the values it takes. An option group's value is the
// index of its selected button.
struct DiagnosticsParameter {
  std::string control;
  std::int32_t low, high;
  bool optionGroup;
};

class IPluginDiagnostics {
 public:
  virtual ~IPluginDiagnostics() = default;
  // Stores a bar as the bar dialog's "OK" does (number = slot + 1, channel
  // summary from the slot's list), without touching the bar list.
  virtual void writeBar(int slot, std::int16_t fromPixel, std::int16_t toPixel, std::int16_t boostPercent,
                        std::int16_t threshold, std::uint8_t setOnExceed, std::int16_t setValue) = 0;
  virtual void clearBar(int slot) = 0;
  // Entries 1..k get the given values, all later entries 0.
  virtual void writeList(int id, int slot, const std::vector<std::int16_t>& entries) = 0;
  virtual DiagnosticsBar readBar(int slot) = 0;
  // The list as the engine reads it.
  virtual std::vector<std::int16_t> readList(int id, int slot) = 0;
  // Every bar slot and every channel list back to zero.
  virtual void clearDesign() = 0;
  // Whether a bar in use or one of the lists 2..6 has a channel: whether the
  // engine can send anything at all. Looks at the first entry of each list
  // only, so a host may ask several times a second.
  virtual bool anyChannels() = 0;
  // Calls OutputChannel with `active` as the output switch for this call.
  virtual void outputChannel(std::int32_t channel, std::int32_t value, std::uint8_t active) = 0;

  // The main window's 22 parameters in the order of the settings file.
  virtual std::vector<DiagnosticsParameter> parameters() = 0;
  // Their values as closing the window would save them.
  virtual std::vector<std::int32_t> readParameters() = 0;
  // Sets the parameters that have a value as the settings file's values
  // are set when the window opens; the others keep theirs.
  virtual void writeParameters(const std::vector<std::optional<std::int32_t>>& values) = 0;
  // After the tables changed from outside: the main window's bar list is
  // rebuilt as the bar dialog's "OK" rebuilds it, and an open channel list
  // dialog refills its rows as when it is shown again.
  virtual void refreshWindows() = 0;
  // The folder that holds the settings file.
  virtual std::string settingsFolder() = 0;
};

inline constexpr const char* kDiagnosticsSymbol = "VantorPlugInDiagnostics";
using DiagnosticsFunction = IPluginDiagnostics* (*)();
