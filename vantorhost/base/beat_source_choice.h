#pragma once
// What drives the host's beat output, as the show and script line
// `beats source tracker|link|lead` writes it: the bridge's beat tracker,
// the Link session's beat grid, or the grid led from the tracker.
#include <optional>
#include <string_view>

namespace vantorhost {

enum class BeatSourceChoice { Tracker, Link, Lead };

// "tracker", "link", "lead".
std::string_view beatSourceText(BeatSourceChoice choice);
// The choice the word names; nothing for another word.
std::optional<BeatSourceChoice> beatSourceNamed(std::string_view word);

}  // namespace vantorhost
