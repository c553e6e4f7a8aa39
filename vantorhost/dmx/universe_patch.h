#pragma once
#include <map>
#include <string>
#include <vector>

namespace vantorhost {

// What olad says about the universes Sonvero sends to: universe id -> the
// number of output ports patched to it. A universe olad does not list has
// none: it would swallow the values silently.
using UniverseOutputs = std::map<unsigned, unsigned>;

// Those of the two universes (first, first + 1) without an output port, in order.
std::vector<unsigned> unpatchedUniverses(unsigned first, const UniverseOutputs& outputs);

// The plain log line for one of them, naming the channels it would carry.
std::string unpatchedUniverseWarning(unsigned first, unsigned universe);

}  // namespace vantorhost
