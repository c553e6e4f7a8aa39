#pragma once
// "Drive": a patched fixture's channels of one attribute (its red, its
// dimmer) added to one of the plug-in's lists (a bar's, VU left or right, a
// beat list) through the design interface, so the design stays what the
// plug-in stores and shows save: channel lists.
#include <cstdint>
#include <string>
#include <vector>

#include "interface/plugin_design.h"
#include "vantorhost/fixtures/fixture_patch.h"

namespace vantorhost {

// One of the plug-in's lists: id 1 with the slot of a bar, 2 VU left, 3 VU
// right, 4 Beat: VU, 5 Beat: Analyzer, 6 Beat: Balken.
struct DriveSource {
  int id = 2;
  int slot = 0;
};

// The fixture's channels (1..1024) of that attribute, second bytes left
// out; in the fixture's order.
std::vector<std::int16_t> attributeChannels(const PatchedFixture& fixture, Attribute attribute);

struct DriveResult {
  std::vector<std::int16_t> added;  // the channels added
  std::string problem;              // why none or not all were, in a sentence; empty when all were
};

// Adds those channels the list does not hold yet behind its last channel,
// as the channel dialog's "+" adds one; a bar's channel summary follows
// its list, and the plug-in's windows show the new list.
DriveResult driveFixture(IPluginDesign& design, const PatchedFixture& fixture, Attribute attribute, DriveSource source);

}  // namespace vantorhost
