#pragma once
// What the host's script runner may do to the plug-in beyond the host
// interfaces: write and read the shared tables as the dialogs would, and
// drive channel output directly. Exported by the plug-in library.
#include <cstdint>
#include <vector>

// A bar as the plug-in's table holds it, field by field.
struct DiagnosticsBar {
  std::int16_t number;  // slot + 1 while the slot holds a bar, 0 when free
  std::int16_t fromPixel, toPixel, channelSummary, boostPercent, threshold;
  std::uint8_t setOnExceed;
  std::int16_t setValue;
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
  // Calls OutputChannel with `active` as the output switch for this call.
  virtual void outputChannel(std::int32_t channel, std::int32_t value, std::uint8_t active) = 0;
};

inline constexpr const char* kDiagnosticsSymbol = "VantorPlugInDiagnostics";
using DiagnosticsFunction = IPluginDiagnostics* (*)();
