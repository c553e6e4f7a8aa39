#include "bridge/gain/level_history.h"

#include <algorithm>
#include <cmath>

namespace vbvis {

double powerDb(double meanSquare) {
  if (!(meanSquare > 0.0)) return LevelHistory::kSilenceDb;
  return std::max(10.0 * std::log10(meanSquare), LevelHistory::kSilenceDb);
}

void LevelHistory::addStep(double meanSquare, float peak) {
  meanSquares_[momentaryNext_] = meanSquare;
  momentaryNext_ = (momentaryNext_ + 1) % kMomentarySteps;
  // Summed anew each step: no running sum drifts, and the additions cost
  // nothing. Before a window's worth has come, the rest counts as silence,
  // so the first hit of a new source does not read as the level of all.
  double sum = 0.0;
  for (const double square : meanSquares_) sum += square;
  momentaryDb_ = powerDb(sum / static_cast<double>(kMomentarySteps));

  gated_ = gated_ ? momentaryDb_ < kGateOpenDb : momentaryDb_ < kGateCloseDb;
  openSteps_ = gated_ ? 0 : std::min(openSteps_ + 1, kMomentarySteps);
  if (!measured()) return;
  holds_[holdNext_] = {momentaryDb_, peak};
  holdNext_ = (holdNext_ + 1) % kHoldSteps;
  held_ = std::min(held_ + 1, kHoldSteps);
}

void LevelHistory::clear() { *this = LevelHistory{}; }

double LevelHistory::heldDb() const {
  double db = kSilenceDb;
  for (std::size_t i = 0; i < held_; ++i) db = std::max(db, holds_[i].db);
  return db;
}

float LevelHistory::heldPeak() const {
  float peak = 0.0f;
  for (std::size_t i = 0; i < held_; ++i) peak = std::max(peak, holds_[i].peak);
  return peak;
}

}  // namespace vbvis
