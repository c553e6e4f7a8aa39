#pragma once
// How a leader steers the Link session from its beat tracker without
// pushing the other peers around: the session's tempo changes only when the
// tracker's differs from it by more than kLeadTempoStepBpm (a tracker's
// tempo wanders by tenths of a BPM), and its phase is pulled onto the
// tracker's beat only when the two lie more than kLeadPhaseToleranceUs
// apart, or together with a tempo change. What the operator did by hand
// (a tap, a nudge) goes to the session as it is: it is meant, not jitter.
#include <cstdint>

namespace vantorhost {

inline constexpr double kLeadTempoStepBpm = 0.5;
inline constexpr std::int64_t kLeadPhaseToleranceUs = 10'000;

struct LeadStep {
  bool setTempo = false;    // the session takes the tracker's tempo
  bool forcePhase = false;  // the tracker's beat becomes the session's whole beat
  bool operator==(const LeadStep&) const = default;
};

// `offBeatUs`: how far the tracker's beat lies from the session's nearest
// whole beat (either side). A session tempo of 0 or below: none known yet.
// `byHand`: the operator moved the tracker's beat since the last step.
LeadStep leadStep(double sessionBpm, double trackerBpm, std::int64_t offBeatUs, bool byHand);

}  // namespace vantorhost
