#pragma once
// A light design as a show holds it: the channel lists, the bars and the
// main window's 22 parameters, read from and written into the plug-in
// through its design interface; and the host's part (the fade).
#include <cstdint>
#include <optional>
#include <vector>

#include "interface/plugin_design.h"
#include "vantorhost/session/host_design.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

struct ShowList {
  int id;    // 1 a bar slot's own list, 2..6 a fixed output
  int slot;  // for id 1
  std::vector<std::int16_t> channels;
  bool operator==(const ShowList&) const = default;
};

struct ShowBar {
  int slot;
  std::int16_t fromPixel, toPixel, boostPercent, threshold;
  std::uint8_t setOnExceed;
  std::int16_t setValue;
  bool operator==(const ShowBar&) const = default;
};

struct ShowDesign {
  std::vector<ShowList> lists;  // non-empty lists, by id, then slot
  std::vector<ShowBar> bars;    // slots that hold a bar, by slot
  // One per parameter in the settings file's order; a show that leaves one
  // out leaves that control as it is.
  std::vector<std::optional<std::int32_t>> parameters;
  // A show without a host line plays the host's defaults (no fade).
  HostDesign host;
  bool operator==(const ShowDesign&) const = default;
};

// The plug-in's whole design as it stands, with the host's part.
ShowDesign readDesign(IPluginDesign& plugin, const HostDesign& host);
// The same for a session whose plug-in offers its design (design() is set).
ShowDesign readDesign(HostSession& session);
// Replaces the plug-in's tables: every slot and list cleared, then the
// lists and the bars written (so each bar's channel summary comes from its
// list). The main window's bar list is not touched.
void applyTables(IPluginDesign& plugin, const ShowDesign& design);
// Sets the parameters the design gives (the main window must be open, as
// opening it reads the settings file) and refreshes the windows.
void applyParameters(IPluginDesign& plugin, const ShowDesign& design);
// All of it: the design replaces the session's as a whole (design() is set).
void applyDesign(HostSession& session, const ShowDesign& design);
// The design that opening `show` over `current` gives: the parameters the
// show leaves out keep the current ones.
ShowDesign openedOver(ShowDesign show, const ShowDesign& current);

}  // namespace vantorhost
