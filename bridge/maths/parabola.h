#pragma once
#include <algorithm>

namespace vbvis {

// Where a peak sampled at three neighbours a, b, c really lies: the offset
// from b (-0.5..0.5 of a step) of the top of the parabola through them, or
// 0 when they do not bend downwards (b is no peak).
inline double parabolicPeakOffset(double a, double b, double c) {
  const double curvature = a - 2.0 * b + c;
  return curvature < 0.0 ? std::clamp(0.5 * (a - c) / curvature, -0.5, 0.5) : 0.0;
}

}  // namespace vbvis
