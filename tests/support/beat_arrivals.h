#pragma once
// Beats' lights as they arrive at olad (DmxWatcher::risesNs), checked
// against each other and against the beat they stand for.
#include <cstdint>
#include <cstdlib>
#include <ostream>
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
// than one and a half beats) or given twice (shorter than half a beat).
struct GridFaults {
  int missed = 0, doubled = 0;
  bool operator==(const GridFaults&) const = default;
  friend std::ostream& operator<<(std::ostream& o, const GridFaults& f) {
    return o << f.missed << " missed, " << f.doubled << " doubled";
  }
};
inline GridFaults gridFaults(const std::vector<std::int64_t>& arrivals, double periodNs) {
  GridFaults faults;
  for (std::size_t i = 1; i < arrivals.size(); ++i) {
    const double gap = static_cast<double>(arrivals[i] - arrivals[i - 1]);
    faults.missed += gap > 1.5 * periodNs;
    faults.doubled += gap < 0.5 * periodNs;
  }
  return faults;
}

}  // namespace support
