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

  recent_[recentNext_] = momentaryDb_;
  recentNext_ = (recentNext_ + 1) % recent_.size();
  recentPeaks_[peakNext_] = peak;
  peakNext_ = (peakNext_ + 1) % recentPeaks_.size();
  recentCount_ = std::min(recentCount_ + 1, recent_.size());

  const bool loud = gated_ ? momentaryDb_ >= kGateOpenDb : momentaryDb_ >= kGateCloseDb;
  gated_ = !loud && !quietMusic();
  openSteps_ = gated_ ? 0 : std::min(openSteps_ + 1, kMomentarySteps);
  stepsClosed_ = gated_ ? std::min(stepsClosed_ + 1, kPresenceSteps) : 0;
  if (!measured()) return;
  holds_[holdNext_] = {momentaryDb_, peak};
  holdNext_ = (holdNext_ + 1) % kHoldSteps;
  held_ = std::min(held_ + 1, kHoldSteps);
}

void LevelHistory::clear() { *this = LevelHistory{}; }

bool LevelHistory::quietMusic() const {
  if (recentCount_ < recent_.size()) return false;
  // recent_ holds its oldest level at recentNext_, whole seconds in order.
  for (std::size_t second = 0; second < kLivelySeconds; ++second) {
    double low = 0.0, high = kSilenceDb;
    for (std::size_t i = 0; i < kSecondSteps; ++i) {
      const double db = recent_[(recentNext_ + second * kSecondSteps + i) % recent_.size()];
      low = std::min(low, db);
      high = std::max(high, db);
    }
    if (low < kQuietFloorDb || high >= kGateOpenDb || high - low < kLivelySpreadDb) return false;
  }
  return true;
}

float LevelHistory::recentPeak(std::size_t steps) const {
  float peak = 0.0f;
  for (std::size_t back = 1; back <= std::min(steps, recentPeaks_.size()); ++back)
    peak = std::max(peak, recentPeaks_[(peakNext_ + recentPeaks_.size() - back) % recentPeaks_.size()]);
  return peak;
}

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
