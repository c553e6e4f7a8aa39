#include "bridge/beat/beat_features.h"

#include <algorithm>
#include <cmath>

#include "bridge/maths/lag_products.h"

namespace vbvis {

BeatFeatures::BeatFeatures(int frames, int changeSpan)
    : size_(std::max(2, frames)),
      onset_(static_cast<std::size_t>(size_), 0.0f),
      low_(static_cast<std::size_t>(size_), 0.0f),
      running_(static_cast<std::size_t>(size_)),
      changeSpan_(std::max(1, changeSpan)),
      changes_(static_cast<std::size_t>(size_), 0.0f) {}

void BeatFeatures::add(const OnsetStrength::Frame& frame) {
  const std::size_t at = slot(added_);
  onset_[at] = frame.onset;
  low_[at] = frame.low;
  Chroma sum = added_ > 0 ? running_[slot(added_ - 1)] : Chroma{};
  for (std::size_t c = 0; c < sum.size(); ++c) sum[c] += frame.chroma[c];
  running_[at] = sum;
  ++added_;
  // The frame whose span after it is now complete.
  if (const std::int64_t centre = added_ - changeSpan_; centre >= 0)
    changes_[slot(centre)] = static_cast<float>(harmonyChange(static_cast<double>(centre), changeSpan_));
}

bool BeatFeatures::kept(double at) const {
  const std::int64_t frame = std::llround(at);
  return frame >= 0 && frame < added_ && frame > added_ - size_;
}

namespace {

float peakNear(const std::vector<float>& values, std::int64_t size, std::int64_t added, double at) {
  const std::int64_t centre = std::llround(at);
  float best = 0.0f;
  for (std::int64_t f = centre - 1; f <= centre + 1; ++f)
    if (f >= 0 && f < added && f > added - size) best = std::max(best, values[static_cast<std::size_t>(f % size)]);
  return best;
}

}  // namespace

float BeatFeatures::onset(double at) const { return peakNear(onset_, size_, added_, at); }
float BeatFeatures::low(double at) const { return peakNear(low_, size_, added_, at); }

float BeatFeatures::strongestOnset(double from, double to) const {
  float best = 0.0f;
  for (std::int64_t f = std::llround(from); f <= std::llround(to); ++f)
    if (f >= 0 && f < added_ && f > added_ - size_) best = std::max(best, onset_[slot(f)]);
  return best;
}

BeatFeatures::Chroma BeatFeatures::chromaSum(std::int64_t from, std::int64_t to) const {
  Chroma sum = running_[slot(to - 1)];
  if (from > 0) {
    const Chroma& before = running_[slot(from - 1)];
    for (std::size_t c = 0; c < sum.size(); ++c) sum[c] -= before[c];
  }
  return sum;
}

double BeatFeatures::changesRepeat(double lag, int over) const {
  constexpr int kLagSlack = 2;
  const std::int64_t newest = added_ - changeSpan_ - 1;  // the newest change known
  const std::int64_t first = std::max<std::int64_t>(newest - over + 1, std::max<std::int64_t>(0, added_ - size_ + 1));
  const std::int64_t count = newest - first + 1;
  const auto longest = std::llround(lag) + kLagSlack;
  if (count - longest < over / 4) return 0.0;
  // The changes taken out of the ring once, in order and less their mean:
  // the lags below then walk plain memory (a slot costs a division).
  centred_.resize(static_cast<std::size_t>(count));
  for (std::int64_t f = first; f <= newest; ++f) centred_[static_cast<std::size_t>(f - first)] = changes_[slot(f)];
  double mean = 0.0;
  for (double change : centred_) mean += change;
  mean /= static_cast<double>(count);
  for (double& change : centred_) change -= mean;
  const double* centred = centred_.data();
  double atZero = 0.0;
  for (double change : centred_) atZero += change * change;
  atZero /= static_cast<double>(count);
  if (!(atZero > 0.0)) return 0.0;
  // The lags within the slack in one pass (and one more, as the pass takes
  // them in pairs; its sum goes unused).
  constexpr int kLags = 2 * kLagSlack + 2;
  const auto shortest = static_cast<int>(std::llround(lag) - kLagSlack);
  std::array<double, kLags> sums;
  sumLagProducts<double, kLags>(centred, static_cast<int>(count), shortest, sums.data());
  double best = -atZero;
  for (int k = 0; k < kLags - 1; ++k) best = std::max(best, sums[static_cast<std::size_t>(k)] / static_cast<double>(count - shortest - k));
  return best / atZero;
}

double BeatFeatures::harmonyChange(double at, double span) const {
  const std::int64_t centre = std::llround(at);
  const std::int64_t width = std::max<std::int64_t>(1, std::llround(span));
  // The sum before `from` must still be kept to be taken off.
  if (centre - width - 1 <= added_ - size_ || centre - width < 0 || centre + width > added_) return 0.0;
  const Chroma before = chromaSum(centre - width, centre), after = chromaSum(centre, centre + width);
  double dot = 0.0, a = 0.0, b = 0.0;
  for (std::size_t c = 0; c < before.size(); ++c) {
    dot += before[c] * after[c];
    a += before[c] * before[c];
    b += after[c] * after[c];
  }
  return a > 0.0 && b > 0.0 ? std::clamp(1.0 - dot / std::sqrt(a * b), 0.0, 1.0) : 0.0;
}

}  // namespace vbvis
