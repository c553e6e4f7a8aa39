#include "vantorhost/dmx/universe_patch.h"

#include "vantorhost/base/channel_buffer.h"

namespace vantorhost {

std::vector<unsigned> unpatchedUniverses(unsigned first, const UniverseOutputs& outputs) {
  std::vector<unsigned> missing;
  for (const unsigned universe : {first, first + 1}) {
    const auto found = outputs.find(universe);
    if (found == outputs.end() || found->second == 0) missing.push_back(universe);
  }
  return missing;
}

std::string unpatchedUniverseWarning(unsigned first, unsigned universe) {
  const unsigned from = (universe - first) * ChannelBuffer::kUniverseSize + 1;
  const unsigned to = from + ChannelBuffer::kUniverseSize - 1;
  return "DMX: OLA universe " + std::to_string(universe) + " has no output patched in olad; channels " +
         std::to_string(from) + ".." + std::to_string(to) + " reach no lights";
}

}  // namespace vantorhost
