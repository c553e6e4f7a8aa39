#pragma once
// The plug-in's design as the host reaches it beyond the host interfaces:
// its tables (bars and channel lists) and the main window's 22 parameters,
// written and read as the dialogs and the settings file do, the switches
// that decide whether light can move, what its windows have chosen, and
// channel output driven directly. Exported by the plug-in library; the
// host never reads a control of the plug-in by its name.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace tk {
class Form;
}

// A bar as the plug-in's table holds it, field by field.
struct DesignBar {
  std::int16_t number;  // slot + 1 while the slot holds a bar, 0 when free
  std::int16_t fromPixel, toPixel, channelSummary, boostPercent, threshold;
  std::uint8_t setOnExceed;
  std::int16_t setValue;
};

// One of the main window's parameters that the settings file keeps: the
// control's name and the values it takes. An option group's value is the
// index of its selected button.
struct DesignParameter {
  std::string control;
  std::int32_t low, high;
  bool optionGroup;
};

// The main window's switches that decide whether any light can move.
struct DesignSwitches {
  bool outputOn = false;       // "DMX-Ausgabe aktiv" ticked
  bool spectrumMuted = false;  // the spectrum's "Mute" not clear
  bool vuMuted = false;        // the levels' "Mute" not clear
  bool operator==(const DesignSwitches&) const = default;
};

// One of the bar dialog's two pixel boxes: the entry it has chosen (0-based
// pixel, -1 none) and where it stands on its form, in twips.
struct DesignPixelBox {
  int listIndex = -1;
  tk::Geometry geometry;
};

// What a bar dialog has chosen: its first and last pixel, and the left edge
// (twips) of the heading above the boxes.
struct DesignPixelChoice {
  DesignPixelBox from, to;
  int headingLeft = 0;
};

class IPluginDesign {
 public:
  virtual ~IPluginDesign() = default;
  // Stores a bar as the bar dialog's "OK" does (number = slot + 1, channel
  // summary from the slot's list), without touching the bar list.
  virtual void writeBar(int slot, std::int16_t fromPixel, std::int16_t toPixel, std::int16_t boostPercent,
                        std::int16_t threshold, std::uint8_t setOnExceed, std::int16_t setValue) = 0;
  virtual void clearBar(int slot) = 0;
  // Entries 1..k get the given values, all later entries 0.
  virtual void writeList(int id, int slot, const std::vector<std::int16_t>& entries) = 0;
  virtual DesignBar readBar(int slot) = 0;
  // The list as the engine reads it.
  virtual std::vector<std::int16_t> readList(int id, int slot) = 0;
  // Every bar slot and every channel list back to zero.
  virtual void clearDesign() = 0;
  // Whether a bar in use or one of the lists 2..6 has a channel: whether the
  // engine can send anything at all. Looks at the first entry of each list
  // only, so a host may ask several times a second.
  virtual bool anyChannels() = 0;
  // The channels the engine can send to: those of the lists 2..6 and of the
  // lists of the bars in use, each read as the engine reads it (up to the
  // first entry that is not above 0); each channel once, in rising order.
  virtual std::vector<std::int16_t> usedChannels() = 0;
  // Calls OutputChannel with `active` as the output switch for this call.
  virtual void outputChannel(std::int32_t channel, std::int32_t value, std::uint8_t active) = 0;

  // The main window's 22 parameters in the order of the settings file.
  virtual std::vector<DesignParameter> parameters() = 0;
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

  // The main window's switches; all off while it is not loaded.
  virtual DesignSwitches switches() = 0;
  // What `form` chooses as a bar dialog; none when it is another form.
  virtual std::optional<DesignPixelChoice> pixelChoice(const tk::Form& form) = 0;
};

inline constexpr const char* kDesignSymbol = "VantorPlugInDesign";
using DesignFunction = IPluginDesign* (*)();
