#pragma once

namespace vbvis {

// A second-order Butterworth high-pass, one sample at a time. The gain
// measures its input through one at 30 Hz: the analysis shows nothing
// below 20 Hz, and rumble that slowly swells and fades there must not move
// the gain.
class HighPass {
 public:
  HighPass() = default;
  HighPass(double cutoffHz, int sampleRate);
  double next(double x) {
    // The last output enters last: one multiply and one subtraction stand
    // between two samples, the rest runs alongside.
    const double y = ((b0_ * x + b1_ * x1_ + b2_ * x2_) - a2_ * y2_) - a1_ * y1_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }
  void reset() { x1_ = x2_ = y1_ = y2_ = 0.0; }

 private:
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

}  // namespace vbvis
