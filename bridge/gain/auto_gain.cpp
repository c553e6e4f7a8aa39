#include "bridge/gain/auto_gain.h"

#include <algorithm>
#include <cmath>

#include "bridge/maths/one_pole.h"

namespace vbvis {

namespace {

// How far the level moves towards its target in one step.
double followShare(double seconds) { return onePoleShare(LevelHistory::kStepSeconds, seconds); }

const double kAttackShare = followShare(AutoGain::kAttackSeconds);
const double kReleaseShare = followShare(AutoGain::kReleaseSeconds);
const double kSlowDownShare = followShare(AutoGain::kSlowDownSeconds);
const double kSlowUpShare = followShare(AutoGain::kSlowUpSeconds);

double withinRange(double db) { return std::clamp(db, AutoGain::kMinDb, AutoGain::kMaxDb); }

double amplitudeDb(float amplitude) {
  return amplitude > 0.0f ? 20.0 * std::log10(static_cast<double>(amplitude)) : LevelHistory::kSilenceDb;
}

}  // namespace

void AutoGain::start(double gainDb) {
  applied_ = withinRange(gainDb);
  level_ = kReferenceDb - applied_;
  fastSteps_ = 0;
}

void AutoGain::step(const LevelHistory& history) {
  if (history.gated()) {
    if (applied_ > 0.0 && !history.present())
      applied_ = std::max(0.0, applied_ - kGatedFallDbPerSecond * LevelHistory::kStepSeconds);
    return keepUnder(history.recentPeak());
  }
  // Where the peaks would otherwise end above the headroom, they set the
  // level; also those of sparse music that the held values missed.
  const float peak = std::max(history.heldPeak(), history.recentPeak(LevelHistory::kHoldSteps));
  const double peakLevel = amplitudeDb(peak) + kHeadroomDb + kReferenceDb;
  if (!history.measured()) {
    // Before a whole window of music is in, its level is not known yet, but
    // its peaks are: they may take the gain down (the hits of a sparse
    // intro, each shorter than a window), never up.
    if (peakLevel > level_) level_ += (peakLevel - level_) * kAttackShare;
    applied_ = withinRange(kReferenceDb - level_);
    return keepUnder(history.recentPeak());
  }
  // Kept where the gain's range can still answer it, so a change back into
  // range moves the gain at once.
  const double target =
      std::clamp(std::max(history.heldDb(), peakLevel), kReferenceDb - kMaxDb, kReferenceDb - kMinDb);
  const double off = target - level_;
  // A change is followed quickly for at least the hold's length: the held
  // level only reaches its full value once a whole hold of the new music
  // lies behind.
  if (std::fabs(off) > kFastBeyondDb) fastSteps_ = 1;
  else if (fastSteps_ > LevelHistory::kHoldSteps && std::fabs(off) < kFastUntilDb) fastSteps_ = 0;
  else if (fastSteps_ > 0) ++fastSteps_;
  const bool fast = fastSteps_ > 0;
  // A louder level turns the gain down.
  const double share = fast ? (off > 0 ? kAttackShare : kReleaseShare) : (off > 0 ? kSlowDownShare : kSlowUpShare);
  level_ += off * share;
  applied_ = withinRange(kReferenceDb - level_);
}

// Peaks bound the gain at once, also those heard while the level could not
// take them in (under the gate, or before a window of music was measured):
// a sparse click that peaks at -4.7 dBFS gets 3.7 dB at most.
void AutoGain::keepUnder(float peak) { applied_ = std::min(applied_, withinRange(-amplitudeDb(peak) - kHeadroomDb)); }

double AutoGain::gainFor(float peak) const {
  return withinRange(std::min(applied_, -amplitudeDb(peak) - kHeadroomDb));
}

}  // namespace vbvis
