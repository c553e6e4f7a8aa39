#include "bridge/beat/phase_judge.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

namespace vbvis {

namespace {

constexpr int kPoints = 16;  // a quarter period apart, over a bar of four beats
constexpr int kLeastBars = 2;
using Fold = std::array<double, kPoints>;

// The fold in units of its spread about its mean; all 0 when it is flat.
Fold standardised(const Fold& fold) {
  double mean = 0.0;
  for (double v : fold) mean += v / kPoints;
  double spread = 0.0;
  for (double v : fold) spread += (v - mean) * (v - mean) / kPoints;
  spread = std::sqrt(spread);
  Fold z{};
  if (spread > 1e-9 * std::max(1.0, std::abs(mean)))
    for (int j = 0; j < kPoints; ++j) z[static_cast<std::size_t>(j)] = (fold[static_cast<std::size_t>(j)] - mean) / spread;
  return z;
}

// The points first, first + step, ... (strongest and mean) against those
// `apart` after each, over points `stride` apart.
double lead(const Fold& z, int first, int apart, int stride) {
  double onMax = -1e300, offMax = -1e300, onMean = 0.0, offMean = 0.0;
  const int count = kPoints / stride;
  for (int k = 0; k < count; ++k) {
    const double on = z[static_cast<std::size_t>((first + k * stride) % kPoints)];
    const double off = z[static_cast<std::size_t>((first + apart + k * stride) % kPoints)];
    onMax = std::max(onMax, on), onMean += on / count;
    offMax = std::max(offMax, off), offMean += off / count;
  }
  return (onMax + onMean) - (offMax + offMean);
}

// How well beats at `quarters` quarter periods after the grid's fit a cue:
// on the stronger half of the quarter-period points, and on the beats
// rather than halfway between them.
double fit(const Fold& z, int quarters) {
  return lead(z, quarters % 2, 1, 2) + lead(z, quarters, 2, 4);
}

}  // namespace

PhaseJudge::Verdict PhaseJudge::judge(const BeatFeatures& features, double beat, double period, int bars,
                                      bool quarters, double leastChord) {
  std::array<Fold, 3> folds{};  // onsets, low end, harmony
  const double quarter = period / 4;
  int whole = 0;
  for (int bar = 0; bar < bars; ++bar) {
    // The earliest point of this bar, and the harmony before it, must still be kept.
    if (!features.kept(beat - (bar * kPoints + kPoints - 1) * quarter - 2 * quarter - 1)) break;
    for (int point = 0; point < kPoints; ++point) {
      // Point j of the fold lies j quarter periods after a beat of the grid.
      const double at = beat - bar * kPoints * quarter - (kPoints - point) % kPoints * quarter;
      const std::size_t j = static_cast<std::size_t>(point);
      folds[0][j] += features.onset(at);
      folds[1][j] += features.low(at);
      folds[2][j] += features.harmonyChange(at, std::max(2 * quarter, leastChord));
    }
    ++whole;
  }
  Verdict verdict;
  if (whole < kLeastBars) return verdict;
  verdict.judged = true;
  std::array<double, 4> score{};
  for (const Fold& fold : folds) {
    const Fold z = standardised(fold);
    for (int q = 0; q < 4; ++q) score[static_cast<std::size_t>(q)] += fit(z, q);
  }
  for (int q = 1; q < 4; ++q)
    if ((quarters || q == 2) && score[static_cast<std::size_t>(q)] - score[0] > verdict.margin)
      verdict = {q, score[static_cast<std::size_t>(q)] - score[0]};
  return verdict;
}

}  // namespace vbvis
