#include "bridge/gain/high_pass.h"

#include <cmath>
#include <numbers>

namespace vbvis {

HighPass::HighPass(double cutoffHz, int sampleRate) {
  // The bilinear transform of the analogue Butterworth, Q = 1/sqrt(2).
  const double w = 2.0 * std::numbers::pi * cutoffHz / sampleRate;
  const double alpha = std::sin(w) / std::numbers::sqrt2;
  const double cosw = std::cos(w);
  const double a0 = 1.0 + alpha;
  b0_ = (1.0 + cosw) / 2.0 / a0;
  b1_ = -(1.0 + cosw) / a0;
  b2_ = b0_;
  a1_ = -2.0 * cosw / a0;
  a2_ = (1.0 - alpha) / a0;
}

}  // namespace vbvis
