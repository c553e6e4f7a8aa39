#pragma once
#include <cmath>

namespace vbvis {

// A bell curve's weight `widths` standard widths from its middle: 1 there,
// about 0.61 one width off, 0.14 two widths off.
inline double bell(double widths) { return std::exp(-0.5 * widths * widths); }

}  // namespace vbvis
