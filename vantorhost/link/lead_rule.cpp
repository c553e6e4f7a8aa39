#include "vantorhost/link/lead_rule.h"

#include <cmath>
#include <cstdlib>

namespace vantorhost {

LeadStep leadStep(double sessionBpm, double trackerBpm, std::int64_t offBeatUs, bool byHand) {
  if (!(trackerBpm > 0)) return {};
  if (byHand) return {trackerBpm != sessionBpm, true};
  LeadStep step;
  step.setTempo = !(sessionBpm > 0) || std::abs(trackerBpm - sessionBpm) > kLeadTempoStepBpm;
  step.forcePhase = step.setTempo || std::llabs(offBeatUs) > kLeadPhaseToleranceUs;
  return step;
}

}  // namespace vantorhost
