#include "bridge/beat/tap_tempo.h"

#include <cmath>

namespace vbvis {

TapTempo::Grid TapTempo::tap(std::int64_t atUs) {
  if (!row_.empty()) {
    const std::int64_t since = atUs - row_.back();
    if (since >= 0 && since < kBounceUs) return fit();
    if (since < 0 || since > kRowGapUs) row_.clear();
  }
  row_.push_back(atUs);
  if (taps() > kTapsFitted) row_.erase(row_.begin());
  return fit();
}

TapTempo::Grid TapTempo::fit() const {
  if (taps() < kTapsNeeded) return {};
  // The line t = first + period * i through the taps, least squares; times
  // from the first tap, so the sums stay small.
  const double n = static_cast<double>(row_.size());
  double sumI = 0.0, sumT = 0.0, sumII = 0.0, sumIT = 0.0;
  for (std::size_t i = 0; i < row_.size(); ++i) {
    const double x = static_cast<double>(i), t = static_cast<double>(row_[i] - row_.front());
    sumI += x, sumT += t, sumII += x * x, sumIT += x * t;
  }
  double period = (n * sumIT - sumI * sumT) / (n * sumII - sumI * sumI);
  const double first = (sumT - period * sumI) / n;
  const double last = first + period * (n - 1.0);
  if (!(period > 0.0)) return {};
  const double slowest = 60e6 / kSlowestBpm, fastest = 60e6 / kFastestBpm;
  while (period > slowest) period /= 2.0;
  while (period < fastest) period *= 2.0;
  return Grid{std::llround(period), row_.front() + std::llround(last)};
}

}  // namespace vbvis
