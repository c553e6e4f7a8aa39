#pragma once
// The part of a light design that the host plays itself, beside the
// plug-in's tables and parameters, and that shows keep with them: the fade
// of the output, the beat output's pattern and what drives it, and the patch
// of fixtures.
#include <cstdint>
#include <vector>

#include "vantorhost/base/beat_pattern.h"
#include "vantorhost/base/beat_source_choice.h"
#include "vantorhost/fixtures/fixture_patch.h"

namespace vantorhost {

struct HostDesign {
  static constexpr std::int32_t kMaxFadeMs = 2000;
  // How long a channel going out takes to fall to a lower value; rises go
  // out at once. 0: no fade.
  std::int32_t fadeMs = 0;
  // What the beat output lights on each beat the tracker predicts; off: nothing.
  BeatPattern beatPattern;
  // The patch as placed, by address then name; none: no fixture.
  std::vector<FixturePlacement> fixtures;
  // What the beat output follows: the tracker, the Link session, or the
  // session led from the tracker.
  BeatSourceChoice beatSource = BeatSourceChoice::Tracker;
  bool operator==(const HostDesign&) const = default;
};

}  // namespace vantorhost
