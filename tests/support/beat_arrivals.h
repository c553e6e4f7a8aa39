#pragma once
// Beats' lights as they arrive at olad (DmxWatcher::risesNs), checked
// against each other and against the beat they stand for.
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace support {

// Each arrival of `a` with the nearest of `b` within `withinNs`: b's minus
// a's, in milliseconds; arrivals without a partner are not counted.
inline std::vector<double> pairedOffsetsMs(const std::vector<std::int64_t>& a, const std::vector<std::int64_t>& b,
                                           std::int64_t withinNs) {
  std::vector<double> offsets;
  std::size_t j = 0;
  for (const std::int64_t at : a) {
    while (j + 1 < b.size() && std::llabs(b[j + 1] - at) <= std::llabs(b[j] - at)) ++j;
    if (j < b.size() && std::llabs(b[j] - at) <= withinNs) offsets.push_back(static_cast<double>(b[j] - at) / 1e6);
  }
  return offsets;
}

// Gaps between consecutive arrivals that stand for a beat missed (longer
// than one and a half beats) or given twice (shorter than half a beat),
// the beat's length at each gap given by `periodNsAt`.
struct GridFaults {
  int missed = 0, doubled = 0;
};
inline GridFaults gridFaults(const std::vector<std::int64_t>& arrivals,
                             const std::function<double(std::int64_t atNs)>& periodNsAt) {
  GridFaults faults;
  for (std::size_t i = 1; i < arrivals.size(); ++i) {
    const double gap = static_cast<double>(arrivals[i] - arrivals[i - 1]), period = periodNsAt(arrivals[i]);
    if (gap > 1.5 * period) ++faults.missed;
    if (gap < 0.5 * period) ++faults.doubled;
  }
  return faults;
}

}  // namespace support
