#pragma once
#include <QRect>

#include "toolkit/control.h"

namespace tk::qt {

// Twips to pixels: 1440 twips per inch at the screen's logical dpi, so 15
// twips per pixel at 96 dpi. A twip position falls into the pixel that
// holds it, as the window system maps form units.
class TwipScale {
 public:
  explicit TwipScale(double logicalDpi = 96.0) : pixelsPerTwip_(logicalDpi / 1440.0) {}
  // The primary screen's scale (96 dpi without a screen).
  static TwipScale ofScreen();

  int pixel(double twips) const;      // the pixel holding this twip position
  int length(double twips) const;     // a size, rounded to whole pixels
  QRect rect(const Geometry& g) const;
  // The pixels covered by a box between two corners in either order, both
  // corners included: never less than one pixel each way.
  QRect box(double x1, double y1, double x2, double y2) const;
  bool operator==(const TwipScale&) const = default;

 private:
  double pixelsPerTwip_;
};

}  // namespace tk::qt
