#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace gainbench {

// The bridge's gain read every 75 ms, as the plug-in's tick reads the
// analysis, on the simulated clock.
struct GainPoint {
  std::int64_t ms;
  double gainDb, inputDb;
  bool gated;
};

// `uri` from its start for `ms`, the gain automatic from 0 dB.
std::vector<GainPoint> gainCurve(const std::string& uri, std::int64_t ms);

// How the gain answered a change of its input at `stepMs`, up to `endMs`,
// judged against `target`: the gain of a run where the same music came at
// the new level all along (the music's own swing is no error), moved by
// `offsetDb` (the step: the gain's range and gate aside, a gain answers
// a level moved by D dB with its gain moved by -D dB).
struct StepResponse {
  double beforeDb, afterDb;  // the gain just before the step and at its end
  double reachSeconds;       // from the step until first within 1 dB of the target
  double settleSeconds;      // from the step until it stays within 1 dB of the target
  double overshootDb;        // beyond the target, in the direction it moved
};
StepResponse stepResponse(const std::vector<GainPoint>& curve, const std::vector<GainPoint>& target, double offsetDb,
                          std::int64_t stepMs, std::int64_t endMs);
// Highest minus lowest gain after `fromMs`: its swing at a steady level.
double swingDb(const std::vector<GainPoint>& curve, std::int64_t fromMs);
// The part of a curve from `fromMs` on, its times taken back to start at 0.
std::vector<GainPoint> shifted(const std::vector<GainPoint>& curve, std::int64_t fromMs);

}  // namespace gainbench
