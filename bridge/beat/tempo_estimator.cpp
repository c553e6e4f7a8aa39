#include "bridge/beat/tempo_estimator.h"

#include <algorithm>
#include <cmath>

#include "bridge/beat/tempo_prior.h"
#include "bridge/maths/bell.h"
#include "bridge/maths/lag_products.h"
#include "bridge/maths/parabola.h"

namespace vbvis {

namespace {

constexpr double kWindowSeconds = 6.0;
constexpr double kMaxLagSeconds = 3.2;
constexpr double kCombSpanSeconds = 2.4;
constexpr double kSlowestBpm = 60.0;
constexpr double kFastestBpm = 200.0;
constexpr double kCandidatesPerOctave = 160.0;
// Candidates near the current period are weighed by a bell this share of
// kNearCurrent wide, so the nearest peak wins over a slightly higher one
// at the window's edge.
constexpr double kNearWidth = 0.5;
constexpr int kMultiples = 4;        // for refining the period
// A refinement further off than this share of the period found another
// peak, not this one.
constexpr double kRefineWithin = 0.04;
constexpr int kMaxMultiples = 8;
constexpr int kBarBeats = 4;
// The comb looks for each multiple's peak within this many lags of it, and
// this many more for each multiple further: a tempo is never exact, and
// its error adds up over the multiples.
constexpr double kLagTolerance = 0.5;
constexpr double kLagToleranceGrowth = 0.5;
// Fewer onset frames than this many of the fastest period give no tempo:
// a period is only seen once it repeats.
constexpr int kLeastPeriods = 2;
// The local mean taken off the onsets: about 90 ms either side.
constexpr int kMeanHalfWidth = 8;
// Onset strength per frame, on average, below which nothing is going on:
// music's is about 4 (each group's is about 1 on average, weighted).
constexpr double kLeastActivity = 0.4;
// The onsets' share of the comb when the low end has its say.
constexpr double kOnsetShare = 0.5;
// Lags worked out side by side in one pass over the onsets (the tracker's
// dearest loop).
constexpr int kLagBlock = 8;

}  // namespace

TempoEstimator::TempoEstimator(double framesPerSecond)
    : fps_(framesPerSecond),
      window_(static_cast<int>(std::lround(kWindowSeconds * framesPerSecond))),
      maxLag_(static_cast<int>(std::lround(kMaxLagSeconds * framesPerSecond))),
      minPeriod_(kSecondsPerMinute / kFastestBpm * framesPerSecond),
      maxPeriod_(kSecondsPerMinute / kSlowestBpm * framesPerSecond),
      combSpan_(kCombSpanSeconds * framesPerSecond) {
  for (double p = maxPeriod_; p >= minPeriod_; p /= std::exp2(1.0 / kCandidatesPerOctave)) {
    candidates_.push_back(p);
    prior_.push_back(tempoPrior(p, fps_));
  }
  acf_.assign(static_cast<std::size_t>(maxLag_) + 2, 0.0);
  lowAcf_.assign(acf_.size(), 0.0);
}

// The onsets' comb and the low end's, half each when the low end has its
// say: the kick repeats by the beat and the bar, not by three eighths, so a
// dense texture of eighths that fits one period as well as another does not
// choose a tempo a third off.
double TempoEstimator::fit(double period) const {
  const double onsets = combOf(acf_, period);
  return withLow_ ? kOnsetShare * onsets + (1.0 - kOnsetShare) * combOf(lowAcf_, period) : onsets;
}

double TempoEstimator::combOf(const std::vector<double>& acf, double period) const {
  double sum = 0.0;
  int terms = 0;
  // As many multiples as fit in the same span for every candidate, so a
  // fast one is judged over its odd multiples too (the off-beats, for
  // double the tempo), not only over the shorter lags; and never fewer
  // than a bar's four, as a pattern repeats by the bar: a syncopated kick
  // every three sixteenths fits 4/3 of the tempo as well as the beat up to
  // three beats, but not at the bar.
  const int multiples = std::clamp(static_cast<int>(combSpan_ / period), kBarBeats, kMaxMultiples);
  for (int k = 1; k <= multiples; ++k) {
    const double lag = k * period;
    const double tolerance = kLagTolerance + kLagToleranceGrowth * (k - 1);
    const int from = std::max(1, static_cast<int>(std::ceil(lag - tolerance)));
    const int to = static_cast<int>(std::floor(lag + tolerance));
    if (to > maxLag_) break;
    double peak = acf[static_cast<std::size_t>(from)];
    for (int l = from + 1; l <= to; ++l) peak = std::max(peak, acf[static_cast<std::size_t>(l)]);
    sum += peak;
    ++terms;
  }
  if (terms == 0 || !(acf[0] > 0.0)) return 0.0;
  return std::max(0.0, sum / terms / acf[0]);
}

double TempoEstimator::salienceOf(double period) const { return combOf(acf_, period); }

TempoEstimator::Candidate TempoEstimator::bestNear(double period) const {
  Candidate best;
  for (double p : candidates_)
    if (std::abs(p / period - 1.0) <= kNearRelated)
      if (const double f = fit(p); f > best.fit) best = {p, combOf(acf_, p), f};
  if (best.period > 0.0) best.period = refine(best.period);
  return best;
}

// The period from the peaks of the autocorrelation near its multiples, each
// placed between lags by a parabola; later multiples weigh more, as they
// pin the period down more finely.
double TempoEstimator::refine(double period) const {
  double weighted = 0.0, weights = 0.0;
  for (int k = 1; k <= kMultiples; ++k) {
    const int centre = static_cast<int>(std::lround(k * period));
    if (centre + k + 1 > maxLag_) break;
    int peak = centre;
    for (int l = centre - k; l <= centre + k; ++l)
      if (l > 1 && acf_[static_cast<std::size_t>(l)] > acf_[static_cast<std::size_t>(peak)]) peak = l;
    const double shift = parabolicPeakOffset(acf_[static_cast<std::size_t>(peak - 1)],
                                             acf_[static_cast<std::size_t>(peak)], acf_[static_cast<std::size_t>(peak + 1)]);
    weighted += peak + shift;  // k periods
    weights += k;
  }
  if (weights == 0.0) return period;
  const double refined = weighted / weights;
  // A refinement that wandered off (to another peak) is not taken.
  return std::abs(refined - period) < kRefineWithin * period ? refined : period;
}

bool TempoEstimator::autocorrelate(std::span<const float> values, std::vector<double>& acf) {
  std::fill(acf.begin(), acf.end(), 0.0);
  const int n = static_cast<int>(values.size());
  // The values above their local mean: what stands out, not the level.
  detrended_.assign(values.size(), 0.0f);
  double running = 0.0;
  int lo = 0, hi = -1;
  for (int i = 0; i < n; ++i) {
    while (hi < std::min(n - 1, i + kMeanHalfWidth)) running += values[static_cast<std::size_t>(++hi)];
    while (lo < i - kMeanHalfWidth) running -= values[static_cast<std::size_t>(lo++)];
    const double mean = running / (hi - lo + 1);
    detrended_[static_cast<std::size_t>(i)] = static_cast<float>(std::max(0.0, values[static_cast<std::size_t>(i)] - mean));
  }
  // Less their mean, so that only what repeats correlates (rectified values
  // are all positive: without this, noise would look periodic at every lag).
  double total = 0.0;
  for (float d : detrended_) total += d;
  const float mean = static_cast<float>(total / n);
  for (float& d : detrended_) d -= mean;
  const int lags = std::min(maxLag_ + 1, n - 1);
  const float* a = detrended_.data();
  int l = 0;
  for (float sums[kLagBlock]; l + kLagBlock - 1 <= lags; l += kLagBlock) {
    sumLagProducts<float, kLagBlock>(a, n, l, sums);
    for (int k = 0; k < kLagBlock; ++k) acf[static_cast<std::size_t>(l + k)] = sums[k] / (n - l - k);
  }
  for (; l <= lags; ++l) {
    float sum = 0.0f;
    for (int i = l; i < n; ++i) sum += a[i] * a[i - l];
    acf[static_cast<std::size_t>(l)] = sum / (n - l);
  }
  return acf[0] > 0.0;
}

TempoEstimator::Estimate TempoEstimator::estimate(std::span<const float> onsets, std::span<const float> lows,
                                                  double current) {
  Estimate result;
  if (onsets.size() > static_cast<std::size_t>(window_)) onsets = onsets.last(static_cast<std::size_t>(window_));
  if (lows.size() > onsets.size()) lows = lows.last(onsets.size());
  const int n = static_cast<int>(onsets.size());
  std::fill(acf_.begin(), acf_.end(), 0.0);
  withLow_ = false;
  if (n < kLeastPeriods * static_cast<int>(minPeriod_) + 1) return result;

  // Too little onset to go on (a steady tone, silence with a few clicks):
  // no tempo, however regular what little there is.
  double activity = 0.0;
  for (float o : onsets) activity += o;
  if (activity / n < kLeastActivity) return result;

  autocorrelate(onsets, acf_);
  withLow_ = lows.size() == onsets.size() && autocorrelate(lows, lowAcf_);

  double bestScore = 0.0, nearScore = 0.0;
  combs_.clear();
  for (std::size_t c = 0; c < candidates_.size(); ++c) {
    const double p = candidates_[c];
    const Candidate candidate{p, combOf(acf_, p), fit(p)};
    combs_.push_back(candidate.salience);
    if (candidate.fit * prior_[c] > bestScore) {
      bestScore = candidate.fit * prior_[c];
      result.best = candidate;
    }
    if (current > 0.0 && std::abs(p / current - 1.0) <= kNearCurrent) {
      const double score = candidate.salience * bell((p / current - 1.0) / (kNearWidth * kNearCurrent));
      if (score > nearScore) {
        nearScore = score;
        result.nearCurrent = candidate;
      }
    }
  }
  std::nth_element(combs_.begin(), combs_.begin() + combs_.size() / 2, combs_.end());
  result.typical = combs_[combs_.size() / 2];
  if (result.best.period > 0.0) result.best.period = refine(result.best.period);
  if (result.nearCurrent.period > 0.0) result.nearCurrent.period = refine(result.nearCurrent.period);
  return result;
}

}  // namespace vbvis
