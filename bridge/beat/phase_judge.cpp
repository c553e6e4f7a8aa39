#include "bridge/beat/phase_judge.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vbvis {

namespace {

constexpr int kEighths = 8;  // in a bar of four beats
constexpr int kLeastBars = 2;

// The strongest eighth and the mean of the eighths on the beats, less the
// same of the eighths between them, in units of the fold's spread.
double onBeatLead(const std::array<double, kEighths>& fold) {
  double mean = 0.0;
  for (double v : fold) mean += v / kEighths;
  double spread = 0.0;
  for (double v : fold) spread += (v - mean) * (v - mean) / kEighths;
  spread = std::sqrt(spread);
  if (!(spread > 1e-9 * std::max(1.0, std::abs(mean)))) return 0.0;
  double onMax = -1e300, offMax = -1e300, onMean = 0.0, offMean = 0.0;
  for (int j = 0; j < kEighths; ++j) {
    const double z = (fold[static_cast<std::size_t>(j)] - mean) / spread;
    if (j % 2 == 0) onMax = std::max(onMax, z), onMean += z / (kEighths / 2);
    else offMax = std::max(offMax, z), offMean += z / (kEighths / 2);
  }
  return (onMax + onMean) - (offMax + offMean);
}

}  // namespace

double PhaseJudge::evidence(const BeatFeatures& features, double beat, double period, int bars) {
  std::array<double, kEighths> onset{}, low{}, harmony{};
  const double half = period / 2;
  int whole = 0;
  for (int bar = 0; bar < bars; ++bar) {
    const double first = beat - (bar * kEighths + kEighths - 1) * half;
    if (!features.kept(first - half - 1)) break;
    for (int e = 0; e < kEighths; ++e) {
      // Eighth j of the fold lies j eighths before `beat`: the even ones are the grid's beats.
      const double at = beat - (bar * kEighths + e) * half;
      const std::size_t j = static_cast<std::size_t>(e);
      onset[j] += features.onset(at);
      low[j] += features.low(at);
      harmony[j] += features.harmonyChange(at, half);
    }
    ++whole;
  }
  if (whole < kLeastBars) return 0.0;
  return onBeatLead(onset) + onBeatLead(low) + onBeatLead(harmony);
}

}  // namespace vbvis
