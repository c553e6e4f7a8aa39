#pragma once
// Floating point to whole numbers as the engine converts them: to nearest,
// halves to the even neighbour (std::nearbyint under the default rounding
// mode), saturating at the target width instead of overflowing.
#include <cmath>
#include <cstdint>
#include <limits>

namespace engine {

template <class Int>
inline Int roundHalfEven(double v) {
  const double r = std::nearbyint(v);
  if (std::isnan(r)) return 0;
  if (r <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
  if (r >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
  return static_cast<Int>(r);
}

inline std::int16_t roundToInt16(double v) { return roundHalfEven<std::int16_t>(v); }
inline std::int32_t roundToInt32(double v) { return roundHalfEven<std::int32_t>(v); }

}  // namespace engine
