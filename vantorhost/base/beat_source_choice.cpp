#include "vantorhost/base/beat_source_choice.h"

namespace vantorhost {

std::string_view beatSourceText(BeatSourceChoice choice) {
  switch (choice) {
    case BeatSourceChoice::Link: return "link";
    case BeatSourceChoice::Lead: return "lead";
    case BeatSourceChoice::Tracker: break;
  }
  return "tracker";
}

std::optional<BeatSourceChoice> beatSourceNamed(std::string_view word) {
  for (const BeatSourceChoice choice : {BeatSourceChoice::Tracker, BeatSourceChoice::Link, BeatSourceChoice::Lead})
    if (word == beatSourceText(choice)) return choice;
  return std::nullopt;
}

}  // namespace vantorhost
