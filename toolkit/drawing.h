#pragma once
#include <vector>

#include "toolkit/colors.h"

namespace tk {

// One box drawn with the form's line operation in box mode, in twips and
// single precision, y growing downwards.
struct DrawBox {
  float x1, y1, x2, y2;
  OleColor color;
  bool filled;
};

using DrawingList = std::vector<DrawBox>;

}  // namespace tk
