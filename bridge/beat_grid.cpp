#include "bridge/beat_grid.h"

#include <algorithm>
#include <cmath>

namespace vbvis {

namespace {

// How much of a frame's score comes from the chain of beats before it.
constexpr float kChain = 0.9f;
// How sharply intervals other than the period are weighed down (on a log scale).
constexpr double kTightness = 5.0;
// A beat is taken this far (in periods) after it was expected, from within
// this far either side of it, weighed by closeness on this scale.
constexpr double kDecideAfter = 0.3;
constexpr double kSearch = 0.3;
constexpr double kCloseness = 0.12;
// How far the grid moves towards the beat taken.
constexpr double kPull = 0.4;
constexpr double kRecent = 0.25;  // weight of the newest beat in the running measures
// Beats the phase is checked over, and how much better another phase must score.
constexpr int kPhaseBeats = 6;
constexpr double kPhaseMargin = 1.25;
// Beats over which the first beat's phase is chosen.
constexpr int kStartBeats = 4;

}  // namespace

BeatGrid::BeatGrid(int history)
    : size_(history), score_(static_cast<std::size_t>(history), 0.0f), onsets_(static_cast<std::size_t>(history), 0.0f) {}

void BeatGrid::weigh(double period) {
  nearest_ = std::max(1, static_cast<int>(std::floor(period / 2)));
  const int farthest = std::min(static_cast<int>(size_) - 1, static_cast<int>(std::ceil(2 * period)));
  weights_.clear();
  for (int d = nearest_; d <= farthest; ++d) {
    const double off = kTightness * std::log(d / period);
    weights_.push_back(static_cast<float>(std::exp(-0.5 * off * off)));
  }
  weighedFor_ = period;
}

void BeatGrid::add(float onset, double period) {
  const std::int64_t n = frames_;
  float chain = 0.0f;
  if (period > 0.0) {
    if (std::abs(period - weighedFor_) > 0.002 * period) weigh(period);
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
    if (static_cast<double>(n) >= 2.0 * period) start();
  } else if (static_cast<double>(n) >= expected_ + kDecideAfter * period) {
    decide();
  }
}

// The sum over `beats` beats a period apart back from `at` of `values` (the
// score or the onsets), each the best within a frame of where it falls.
double BeatGrid::chain(const std::vector<float>& values, double at, int beats) const {
  const std::int64_t newest = frames_ - 1;
  double sum = 0.0;
  for (int k = 0; k < beats; ++k) {
    const std::int64_t centre = std::llround(at - k * period_);
    float peak = 0.0f;
    for (std::int64_t v = centre - 1; v <= centre + 1; ++v)
      if (v >= 0 && v <= newest && v > newest - size_) peak = std::max(peak, values[static_cast<std::size_t>(v % size_)]);
    sum += peak;
  }
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
  expected_ = static_cast<double>(best) + period_;
  beats_ = 0;
}

void BeatGrid::decide() {
  const double e = expected_;
  const std::int64_t newest = frames_ - 1;
  const std::int64_t from = std::max<std::int64_t>({0, newest - size_ + 1, std::llround(e - kSearch * period_)});
  const std::int64_t to = std::min<std::int64_t>(newest, std::llround(e + kSearch * period_));
  std::int64_t best = -1;
  double bestValue = -1.0;
  for (std::int64_t v = from; v <= to; ++v) {
    const double off = (static_cast<double>(v) - e) / (kCloseness * period_);
    const double value = score(v) * std::exp(-0.5 * off * off);
    if (value > bestValue) {
      bestValue = value;
      best = v;
    }
  }
  double beat = e;
  if (best >= 0 && bestValue > 0.0) {
    beat = static_cast<double>(best);
    if (best > from && best < to) {
      const double a = score(best - 1), b = score(best), c = score(best + 1);
      const double curvature = a - 2 * b + c;
      if (curvature < 0) beat += std::clamp(0.5 * (a - c) / curvature, -0.5, 0.5);
    }
  }
  const double error = (beat - e) / period_;
  regularity_ += kRecent * (std::exp(-(error * error) / (0.1 * 0.1)) - regularity_);

  expected_ = e + kPull * (beat - e);
  checkPhase(e);
  expected_ += period_;
  ++beats_;
}

// The grid's phase against every other phase of the period, on the score
// over the last few beats: a grid that started on an off-beat (or on a
// swung eighth) moves to the phase that scores clearly better, once it has
// done so for two beats running.
void BeatGrid::checkPhase(double e) {
  const auto combAt = [&](double at) { return chain(score_, at, kPhaseBeats); };
  const double here = combAt(e);
  double best = here, bestShift = 0.0;
  for (double shift = 0.15 * period_; shift < 0.85 * period_; shift += 1.0) {
    const double value = combAt(e - shift);
    if (value > best) best = value, bestShift = shift;
  }
  if (best > kPhaseMargin * here && std::abs(bestShift - pendingShift_) < 0.1 * period_) {
    if (++shiftVotes_ >= 2) {
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
  if (!trusted) regularity_ = 0.0;
}

}  // namespace vbvis
