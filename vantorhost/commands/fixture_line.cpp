#include "vantorhost/commands/fixture_line.h"

namespace vantorhost {

namespace {

// A token as a script line holds it: in double quotes when it holds a blank
// or would read as a comment or as nothing.
std::string token(const std::string& text) {
  const bool quote = text.empty() || text.front() == '#' || text.find_first_of(" \t") != std::string::npos;
  return quote ? "\"" + text + "\"" : text;
}

}  // namespace

std::string fixtureLine(const FixturePlacement& p) {
  return "fixture " + token(p.name) + " " + token(p.manufacturer + "/" + p.model) + " \"" + p.mode + "\" " +
         std::to_string(p.address);
}

std::string channelLine(const FixturePatch& patch, int channel) {
  const std::string head = "channel " + std::to_string(channel) + " = ";
  const PatchedChannel& c = patch.channel(channel);
  if (!c.patched()) return head + "--";
  const PatchedFixture& f = patch.fixtures()[static_cast<std::size_t>(c.fixture)];
  return head + token(f.placement.name) + " \"" + f.channelName(c.offset) + "\"";
}

}  // namespace vantorhost
