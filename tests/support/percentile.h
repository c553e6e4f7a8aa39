#pragma once
// The p-th percentile of measurements (nearest rank), NaN for none.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace support {

inline double percentile(std::vector<double> v, double p) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(v.size())));
  return v[std::clamp<std::size_t>(rank, 1, v.size()) - 1];
}

}  // namespace support
