#include "bridge/beat/beat_grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "bridge/maths/bell.h"
#include "bridge/maths/parabola.h"

namespace vbvis {

namespace {

// How much of a frame's score comes from the chain of beats before it.
constexpr float kChain = 0.9f;
// How sharply intervals other than the period are weighed down (on a log
// scale), and the shortest and longest interval looked back over, in
// periods: as far as the metrical levels either side.
constexpr double kTightness = 5.0;
constexpr double kNearestBack = 0.5;
constexpr double kFarthestBack = 2.0;
// The weights follow a period that moved by more than this share of it.
constexpr double kReweighBeyond = 0.002;
// The first beat is sought once this many periods of score lie behind.
constexpr double kStartAfter = 2.0;
// A beat is taken this far (in periods) after it was expected, from within
// this far either side of it, weighed by closeness on this scale.
constexpr double kDecideAfter = 0.3;
constexpr double kSearch = 0.3;
constexpr double kCloseness = 0.12;
// How far the grid moves towards the beat taken.
constexpr double kPull = 0.4;
constexpr double kRecent = 0.25;  // weight of the newest beat in the running measures
// A beat this far off the grid (a share of the period) counts 1/e as
// regular; one on it counts 1.
constexpr double kRegularWithin = 0.1;
// Beats the phase is checked over, and how much better another phase must
// score, at a shift between kPhasesFrom and kPhasesTo of a period (nearer
// shifts are the same beat, off by its timing), the same shift within
// kSamePhaseWithin of a period kPhaseVotesNeeded beats running.
constexpr int kPhaseBeats = 6;
constexpr double kPhaseMargin = 1.25;
constexpr double kPhasesFrom = 0.15;
constexpr double kPhasesTo = 0.85;
constexpr double kSamePhaseWithin = 0.1;
constexpr int kPhaseVotesNeeded = 2;
// The regularity of a grid that has taken no beat yet: as likely regular as not.
constexpr double kUnknownRegularity = 0.5;
// Shifts within this of half a period are not the grid's to make: whether
// the beat is halfway between the grid's beats the tracker judges on more
// than the onsets (PhaseJudge).
constexpr double kHalfBeat = 0.15;
// Beats over which the first beat's phase is chosen.
constexpr int kStartBeats = 4;
// A swung pair: the second note 57 to 70 % of a period after the first
// (a triplet shuffle's is at 67 %). A phase is taken for the pair's second
// note when the phase this far before it scores at least kSwingLead of it
// and the phase this far after it is empty by comparison.
constexpr double kSwingShortest = 0.57;
constexpr double kSwingLongest = 0.70;
constexpr double kSwingLead = 0.6;
constexpr double kSwingEmpty = 0.5;
// Share of each beat's error that corrects the period, the part of that
// correction kept from beat to beat, and its bound (a share of the period).
constexpr double kDriftGain = 0.1;
constexpr double kDriftKept = 0.95;
constexpr double kMaxDrift = 0.04;
// Beats over which alternate beats and off-beats are compared, and the
// onset added to both sides of each comparison, so that silence compares
// as alike.
constexpr int kAlternationBeats = 8;
constexpr float kLeastOnset = 0.1f;

}  // namespace

BeatGrid::BeatGrid(int history)
    : size_(history), score_(static_cast<std::size_t>(history), 0.0f), onsets_(static_cast<std::size_t>(history), 0.0f) {}

void BeatGrid::weigh(double period) {
  nearest_ = std::max(1, static_cast<int>(std::floor(kNearestBack * period)));
  const int farthest = std::min(static_cast<int>(size_) - 1, static_cast<int>(std::ceil(kFarthestBack * period)));
  weights_.clear();
  for (int d = nearest_; d <= farthest; ++d) weights_.push_back(static_cast<float>(bell(kTightness * std::log(d / period))));
  weighedFor_ = period;
}

void BeatGrid::add(float onset, double period) {
  const std::int64_t n = frames_;
  float chain = 0.0f;
  if (period > 0.0) {
    if (std::abs(period - weighedFor_) > kReweighBeyond * period) weigh(period);
    for (std::size_t i = 0; i < weights_.size(); ++i) {
      const std::int64_t back = n - nearest_ - static_cast<std::int64_t>(i);
      if (back < 0) break;
      chain = std::max(chain, weights_[i] * score(back));
    }
  }
  period_ = period;
  score_[static_cast<std::size_t>(n % size_)] = (1.0f - kChain) * onset + kChain * chain;
  onsets_[static_cast<std::size_t>(n % size_)] = onset;
  ++frames_;
  if (period <= 0.0) return;
  if (!hasGrid()) {
    if (static_cast<double>(n) >= kStartAfter * period) start();
  } else if (static_cast<double>(n) >= expected_ + kDecideAfter * period) {
    decide();
  }
}

// The best of `values` (the score or the onsets) within a frame of `at`;
// 0 outside what is kept.
float BeatGrid::peak(const std::vector<float>& values, double at) const {
  const std::int64_t newest = frames_ - 1;
  const std::int64_t centre = std::llround(at);
  float best = 0.0f;
  for (std::int64_t v = centre - 1; v <= centre + 1; ++v)
    if (v >= 0 && v <= newest && v > newest - size_) best = std::max(best, values[static_cast<std::size_t>(v % size_)]);
  return best;
}

// The sum over `beats` beats `step` apart (a period when 0) back from `at`
// of the peaks of `values`.
double BeatGrid::chain(const std::vector<float>& values, double at, int beats, double step) const {
  if (step <= 0.0) step = period_;
  double sum = 0.0;
  for (int k = 0; k < beats; ++k) sum += peak(values, at - k * step);
  return sum;
}

// The first beat: of the last period that is settled (a third of a period
// old), the frame whose chain of onsets a period apart over the last few
// beats is strongest. Onsets, not the score: after a change of tempo the
// score still carries the old one.
void BeatGrid::start() {
  const std::int64_t newest = frames_ - 1;
  const std::int64_t to = newest - static_cast<std::int64_t>(kDecideAfter * period_);
  std::int64_t best = to;
  double bestChain = chain(onsets_, static_cast<double>(to), kStartBeats);
  for (std::int64_t v = to - static_cast<std::int64_t>(period_) + 1; v < to; ++v)
    if (const double c = chain(onsets_, static_cast<double>(v), kStartBeats); c > bestChain) bestChain = c, best = v;
  expected_ = static_cast<double>(best) - swungBeat(static_cast<double>(best)) + period_;
  beats_ = 0;
  drift_ = 0.0;
}

void BeatGrid::decide() {
  const double e = expected_;
  const std::int64_t newest = frames_ - 1;
  // A grid at half a fast tempo searches as closely as one at the music's
  // tempo would: its quarter periods are the music's off-beats.
  const double width = halvesFast_ ? period_ / 2 : period_;
  const std::int64_t from = std::max<std::int64_t>({0, newest - size_ + 1, std::llround(e - kSearch * width)});
  const std::int64_t to = std::min<std::int64_t>(newest, std::llround(e + kSearch * width));
  std::int64_t best = -1;
  double bestValue = -1.0;
  for (std::int64_t v = from; v <= to; ++v) {
    const double value = score(v) * bell((static_cast<double>(v) - e) / (kCloseness * width));
    if (value > bestValue) {
      bestValue = value;
      best = v;
    }
  }
  double beat = e;
  if (best >= 0 && bestValue > 0.0) {
    beat = static_cast<double>(best);
    if (best > from && best < to) beat += parabolicPeakOffset(score(best - 1), score(best), score(best + 1));
  }
  const double error = (beat - e) / period_;
  regularity_ += kRecent * (std::exp(-(error * error) / (kRegularWithin * kRegularWithin)) - regularity_);

  drift_ = std::clamp(kDriftKept * drift_ + kDriftGain * (beat - e), -kMaxDrift * period_, kMaxDrift * period_);
  expected_ = e + kPull * (beat - e);
  if (!phaseKept_ && !halvesFast_) checkPhase(e);
  expected_ += period();
  ++beats_;
}

// How far before `at` the beat lies when `at` is the second note of a
// swung pair, else 0: on the onsets over the last beats (the score, which
// carries beats forward, is never empty between them).
double BeatGrid::swungBeat(double at) const {
  const auto combAt = [&](double x) { return chain(onsets_, x, kPhaseBeats); };
  double lead = 0.0, leadShift = 0.0, follow = 0.0;
  for (double shift = kSwingShortest * period_; shift <= kSwingLongest * period_; shift += 1.0) {
    if (const double before = combAt(at - shift); before > lead) lead = before, leadShift = shift;
    follow = std::max(follow, combAt(at + shift - period_));
  }
  return lead >= kSwingLead * combAt(at) && follow < kSwingEmpty * lead ? leadShift : 0.0;
}

// The grid's phase against every other phase of the period, on the score
// over the last few beats: a grid that started on an off-beat moves to the
// phase that scores clearly better, and one on the second note of a swung
// pair to the first, once that has held for two beats running. The second
// note of a swung pair often scores better than the beat (it follows the
// longer gap, so it rises more), so the grid never moves onto one.
void BeatGrid::checkPhase(double e) {
  const auto combAt = [&](double at) { return chain(score_, at, kPhaseBeats); };
  const double here = combAt(e);
  double best = here, bestShift = 0.0;
  if (const double swing = swungBeat(e); swing > 0.0) {
    best = std::numeric_limits<double>::max();
    bestShift = swing;
  } else {
    for (double shift = kPhasesFrom * period_; shift < kPhasesTo * period_; shift += 1.0) {
      if (std::abs(shift / period_ - 0.5) < kHalfBeat) continue;
      const double value = combAt(e - shift);
      if (value > best && swungBeat(e - shift) == 0.0) best = value, bestShift = shift;
    }
  }
  if (best > kPhaseMargin * here && std::abs(bestShift - pendingShift_) < kSamePhaseWithin * period_) {
    if (++shiftVotes_ >= kPhaseVotesNeeded) {
      expected_ -= bestShift;  // decide() adds the period after this
      shiftVotes_ = 0;
      pendingShift_ = -1.0;
      return;
    }
  } else {
    shiftVotes_ = best > kPhaseMargin * here ? 1 : 0;
  }
  pendingShift_ = best > kPhaseMargin * here ? bestShift : -1.0;
}

void BeatGrid::dropGrid(bool trusted) {
  expected_ = -1.0;
  drift_ = 0.0;
  phaseKept_ = false;
  if (!trusted) regularity_ = kUnknownRegularity;
}

// The median of the ratios of `count` pairs of onset peaks: the second of
// each pair `apart` after the first, the pairs `step` apart back from `at`.
double BeatGrid::medianRatio(double at, int count, double apart, double step) const {
  std::array<double, kAlternationBeats> ratios{};
  count = std::min(count, kAlternationBeats);
  for (int k = 0; k < count; ++k) {
    const double first = peak(onsets_, at - k * step), second = peak(onsets_, at - k * step + apart);
    ratios[static_cast<std::size_t>(k)] = (second + kLeastOnset) / (first + kLeastOnset);
  }
  const auto middle = ratios.begin() + count / 2;
  std::nth_element(ratios.begin(), middle, ratios.begin() + count);
  if (count % 2 == 1) return *middle;
  return 0.5 * (*middle + *std::max_element(ratios.begin(), middle));
}

BeatGrid::Alternation BeatGrid::alternation() const {
  Alternation result;
  if (!hasGrid()) return result;
  const double last = lastBeat();
  // Each odd beat against the even one after it.
  const double ratio = medianRatio(last, kAlternationBeats / 2, -period_, 2 * period_);
  result.ratio = std::min(ratio, 1.0 / ratio);
  result.strongBeat = ratio <= 1.0 ? last : last - period_;
  return result;
}

double BeatGrid::offBeats() const {
  return hasGrid() ? medianRatio(lastBeat() - period_, kAlternationBeats, 0.5 * period_, period_) : 0.0;
}

void BeatGrid::follow(double period, double beat) {
  period_ = period;
  drift_ = 0.0;
  // The next beat not yet decided: the first of the grid through `beat`
  // (past or to come) less than a third of a period old.
  const double from = static_cast<double>(frames_ - 1) - kDecideAfter * period;
  expected_ = beat + std::floor((from - beat) / period + 1.0) * period;
  pendingShift_ = -1.0;
  shiftVotes_ = 0;
}

}  // namespace vbvis
