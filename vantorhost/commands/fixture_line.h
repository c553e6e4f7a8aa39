#pragma once
// The patch's lines as scripts and shows write them: a token with blanks
// stands in double quotes, the mode always does.
#include <string>

#include "vantorhost/fixtures/fixture_patch.h"

namespace vantorhost {

// fixture NAME MANUFACTURER/MODEL "MODE" ADDRESS
std::string fixtureLine(const FixturePlacement& placement);
// channel C = NAME "CHANNEL NAME", or channel C = -- for a channel of no
// fixture (a fixture whose definition is missing names no channel: "").
std::string channelLine(const FixturePatch& patch, int channel);

}  // namespace vantorhost
