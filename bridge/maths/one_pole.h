#pragma once
#include <cmath>

namespace vbvis {

// The share of the way to a new value that a one-pole smoother (a
// first-order follower) covers in one step of `step`, for a time constant
// `timeConstant` in the same unit: after one time constant it has come to
// within 1/e of the new value.
inline double onePoleShare(double step, double timeConstant) { return 1.0 - std::exp(-step / timeConstant); }

}  // namespace vbvis
