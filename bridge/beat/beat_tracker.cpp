#include "bridge/beat/beat_tracker.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "bridge/beat/tempo_prior.h"

namespace vbvis {

namespace {

constexpr double kTempoEverySeconds = 0.25;
constexpr double kHistorySeconds = 8.0;   // of cumulative score: eight slowest periods
// Salience (0..1) that starts following a tempo, and below which it is lost.
constexpr double kStartSalience = 0.2;
constexpr double kLoseSalience = 0.1;
constexpr int kLoseAfter = 12;            // updates, 3 s
// A first tempo is taken once this many updates running find it, each
// within kAgreeWithin (a share of its period) of the one before.
constexpr int kAgreementsNeeded = 2;
constexpr double kAgreeWithin = 0.04;
// Each update moves the followed period this share of the way to the
// estimate near it: a tempo that drifts is followed within a few updates,
// while one update's error moves it only half as far.
constexpr double kFollowShare = 0.5;
// Another tempo must beat the followed one by this much, this many updates
// running; triple-related ones (and 4/3, which a kick every three
// sixteenths suggests) much longer once the grid has settled
// (before, the first tempo, taken from a few seconds, is as likely wrong).
// Double or half the tempo is left to the check of the metrical level.
// A challenger counts as the same one from update to update within
// kChallengerWithin of its period.
constexpr double kChallengeMargin = 1.15;
constexpr double kChallengerWithin = 0.06;
constexpr int kChallengesNeeded = 4;
constexpr int kHarmonicChallengesNeeded = 16;
constexpr int kSettledBeats = 16;
// The metrical level: each update adds how much better than by
// kLevelMargin the other level scores (the log of the ratio, at most
// kLevelStep) to what was gathered, of which kLevelKept is kept; the other
// level is taken when that reaches kLevelSwitch, or kEarlyLevelSwitch while
// the grid has taken fewer than kSettledBeats beats (a first tempo is often
// a level off). A level whose alternate beats are alike down to
// kAlikeAlternation (their weaker half against the stronger) counts in
// full; one whose every other beat is no stronger than an off-beat
// (kOffBeatAlternation or less) counts kOffBeatWeight of its score, as far
// as it is faster than the preferred tempo: near it a half-time feel is
// tapped at the faster level, while from kHeardSlowerBpm on the slower
// level is heard.
constexpr double kLevelMargin = 1.1;
constexpr double kLevelStep = 0.15;
constexpr double kLevelKept = 0.92;
constexpr double kLevelSwitch = 1.0;
constexpr double kEarlyLevelSwitch = 0.3;
constexpr int kLevelBeats = 4;
constexpr double kAlikeAlternation = 0.65;
constexpr double kOffBeatAlternation = 0.35;
constexpr double kOffBeatWeight = 0.6;
constexpr double kHeardSlowerBpm = 150.0;
// Salience that counts for nothing in the confidence (noise's is about 0.1
// at most), and that counts in full: a tempo salient enough to be followed
// (kStartSalience) whose beats fall where expected locks.
constexpr double kNoiseSalience = 0.08;
constexpr double kFullSalience = 0.35;
// How much later than a drum's sound starts the onsets peak, on average:
// its attack builds over a few milliseconds (measured on the tuning songs
// against when their kick and snare start to sound).
constexpr double kAttackSeconds = 0.002;
// The confidence: the salience counts kIrregularShare however the beats
// fall, and up to kRegularShare more as they fall on the grid.
constexpr double kIrregularShare = 0.3;
constexpr double kRegularShare = 0.7;
// Confidence that locks (after at least kLockBeats beats), and below which
// the lock is let go.
constexpr int kLockAt = 40;
constexpr int kUnlockBelow = 25;
constexpr int kLockBeats = 2;
// Tempi whose periods stand in one of these ratios, give or take
// kRelatedWithin: double or half (the metrical level, left to its own
// check), and the ratios a challenger needs kHarmonicChallengesNeeded for.
constexpr double kOctaveRatios[] = {2.0};
constexpr double kHarmonicRatios[] = {3.0, 1.5, 4.0, 4.0 / 3.0};
constexpr double kRelatedWithin = 0.05;

bool related(double a, double b, std::span<const double> ratios) {
  const double ratio = a > b ? a / b : b / a;
  for (double h : ratios)
    if (std::abs(ratio / h - 1.0) < kRelatedWithin) return true;
  return false;
}

}  // namespace

BeatTracker::BeatTracker(int sampleRate)
    : rate_(sampleRate),
      onsets_(sampleRate),
      tempo_(onsets_.framesPerSecond()),
      grid_(static_cast<int>(kHistorySeconds * onsets_.framesPerSecond())) {}

void BeatTracker::push(std::span<const float> stereo) {
  const std::size_t frames = stereo.size() / 2;
  mono_.resize(frames);
  for (std::size_t i = 0; i < frames; ++i) mono_[i] = 0.5f * (stereo[2 * i] + stereo[2 * i + 1]);
  fresh_.clear();
  onsets_.push(mono_.data(), frames, fresh_);
  samples_ += static_cast<std::int64_t>(frames);
  for (float onset : fresh_) addFrame(onset);
}

void BeatTracker::addFrame(float onset) {
  history_.push_back(onset);
  // Kept to the estimator's window, trimmed now and then rather than every frame.
  if (history_.size() > 2 * static_cast<std::size_t>(tempo_.window()))
    history_.erase(history_.begin(), history_.end() - tempo_.window());
  const int beatsBefore = grid_.beats();
  grid_.add(onset, period_);
  ++frames_;
  const auto every = static_cast<std::int64_t>(std::lround(kTempoEverySeconds * onsets_.framesPerSecond()));
  if (frames_ % every == 0) updateTempo();
  if (grid_.beats() != beatsBefore) judge();
}

void BeatTracker::updateTempo() {
  const TempoEstimator::Estimate estimate = tempo_.estimate(history_, period_);
  if (period_ == 0.0) {
    // Nothing followed yet: a tempo salient twice running is taken.
    if (estimate.best.salience < kStartSalience) {
      agreeing_ = 0;
      return;
    }
    if (candidate_ > 0.0 && std::abs(estimate.best.period / candidate_ - 1.0) < kAgreeWithin) ++agreeing_;
    else agreeing_ = 1;
    candidate_ = estimate.best.period;
    if (agreeing_ >= kAgreementsNeeded) {
      period_ = candidate_;
      salience_ = estimate.best.salience;
      grid_.dropGrid();
    }
    return;
  }
  follow(estimate);
}

void BeatTracker::follow(const TempoEstimator::Estimate& estimate) {
  const double fps = onsets_.framesPerSecond();
  const TempoEstimator::Candidate& near = estimate.nearCurrent;
  const TempoEstimator::Candidate& best = estimate.best;
  salience_ = near.salience;

  // Outside the estimator's window around the followed tempo: another tempo.
  const bool elsewhere = best.period > 0.0 && std::abs(best.period / period_ - 1.0) > TempoEstimator::kNearCurrent &&
                         !related(best.period, period_, kOctaveRatios);
  const double nearScore = near.salience * tempoPrior(period_, fps);
  if (elsewhere && best.salience * tempoPrior(best.period, fps) > kChallengeMargin * nearScore) {
    if (challenger_ > 0.0 && std::abs(best.period / challenger_ - 1.0) < kChallengerWithin) ++challenges_;
    else challenges_ = 1;
    challenger_ = best.period;
    const bool slowly = grid_.beats() >= kSettledBeats && related(best.period, period_, kHarmonicRatios);
    if (challenges_ >= (slowly ? kHarmonicChallengesNeeded : kChallengesNeeded)) {
      period_ = best.period;
      salience_ = best.salience;
      challenges_ = 0;
      grid_.dropGrid(true);
      return;
    }
  } else {
    challenges_ = 0;
  }
  if (near.period > 0.0) period_ += kFollowShare * (near.period - period_);
  checkLevel();

  // A beat lost (silence, noise) lets the tempo go after a while.
  quiet_ = best.salience < kLoseSalience ? quiet_ + 1 : 0;
  if (quiet_ >= kLoseAfter) {
    period_ = 0.0;
    candidate_ = 0.0;
    agreeing_ = 0;
    quiet_ = 0;
    grid_.dropGrid();
  }
}

// A level's comb score, weighed by how likely the tempo is and, for the
// faster level of a pair, by how alike its alternate beats are. Once the
// grid has settled, the comb counts less (its square root): a fill or a
// break sways it for the length of its window, while the beats' own
// alternation is a median over beats that a fill hardly moves.
double BeatTracker::levelScore(double period, double alternation) const {
  const double fps = onsets_.framesPerSecond();
  const double alike =
      std::clamp((alternation - kOffBeatAlternation) / (kAlikeAlternation - kOffBeatAlternation), 0.0, 1.0);
  const double bpm = kSecondsPerMinute * fps / period;
  const double fast = std::clamp(std::log2(bpm / kPriorBpm) / std::log2(kHeardSlowerBpm / kPriorBpm), 0.0, 1.0);
  const double comb = tempo_.salienceOf(period);
  return (grid_.beats() < kSettledBeats ? comb : std::sqrt(comb)) * tempoPrior(period, fps) *
         (1.0 - (1.0 - kOffBeatWeight) * (1.0 - alike) * fast);
}

// The followed level against the one twice as fast (its beats the grid's
// beats and off-beats) and the one half as fast (every other beat of the
// grid, the stronger half); the other level is taken once it has won for
// a while.
void BeatTracker::checkLevel() {
  if (!grid_.hasGrid() || grid_.beats() < kLevelBeats) {
    faster_ = slower_ = 0.0;
    return;
  }
  const auto gather = [](double& evidence, double other, double here) {
    const double step = other > 0.0 && here > 0.0
                            ? std::clamp(std::log(other / (kLevelMargin * here)), -kLevelStep, kLevelStep)
                            : -kLevelStep;
    evidence = std::max(0.0, kLevelKept * evidence + step);
  };
  const double here = levelScore(period_, 1.0);
  gather(faster_, period_ / 2 >= tempo_.minPeriod() ? levelScore(period_ / 2, grid_.offBeats()) : 0.0, here);
  const BeatGrid::Alternation alternation = grid_.alternation();
  gather(slower_, 2 * period_ <= tempo_.maxPeriod() ? levelScore(2 * period_, 1.0) : 0.0,
         levelScore(period_, alternation.ratio));
  const double needed = grid_.beats() < kSettledBeats ? kEarlyLevelSwitch : kLevelSwitch;
  if (faster_ >= needed && faster_ >= slower_) {
    period_ /= 2;
    grid_.follow(period_, grid_.expected() - 2 * period_);
  } else if (slower_ >= needed) {
    period_ *= 2;
    grid_.follow(period_, alternation.strongBeat);
  } else {
    return;
  }
  faster_ = slower_ = 0.0;
  challenges_ = 0;
}

// After each beat taken: the confidence and the lock.
void BeatTracker::judge() {
  const double salience = std::clamp((salience_ - kNoiseSalience) / (kFullSalience - kNoiseSalience), 0.0, 1.0);
  confidence_ = period_ > 0.0
                    ? static_cast<int>(std::lround(100.0 * salience * (kIrregularShare + kRegularShare * grid_.regularity())))
                    : 0;
  if (confidence_ >= kLockAt && grid_.beats() >= kLockBeats) locked_ = true;
  if (confidence_ < kUnlockBelow) locked_ = false;
}

BeatTracker::State BeatTracker::state() const {
  State s;
  const bool following = period_ > 0.0 && grid_.hasGrid();
  s.confidence = following ? confidence_ : 0;
  s.locked = following && locked_;
  if (!s.locked) return s;
  const double hop = onsets_.hop();
  s.periodSamples = grid_.period() * hop;
  s.bpm = kSecondsPerMinute * rate_ / s.periodSamples;
  // The grid's beats after the newest sample. Frame f stands for sample
  // f * hop, less the time a drum's attack takes to build the rise the
  // onsets peak on.
  double beat = grid_.expected() * hop - kAttackSeconds * rate_;
  while (beat <= static_cast<double>(samples_)) beat += s.periodSamples;
  for (double& next : s.nextBeats) {
    next = beat;
    beat += s.periodSamples;
  }
  return s;
}

}  // namespace vbvis
