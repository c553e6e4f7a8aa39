#include "toolkit/qt/twip_scale.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace tk::qt {

TwipScale TwipScale::ofScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
  return TwipScale(dpi > 0 ? dpi : 96.0);
}

namespace {

// Far beyond any screen, small enough that sums of pixels cannot overflow;
// a coordinate that is not a number lands at 0.
constexpr double kFarPixels = 1e6;

int toPixelInt(double pixels) {
  if (std::isnan(pixels)) return 0;
  return static_cast<int>(std::clamp(pixels, -kFarPixels, kFarPixels));
}

}  // namespace

// Rounded down without a library call: every box of every drawing goes
// through here.
int TwipScale::pixel(double twips) const {
  const double pixels = twips * pixelsPerTwip_;
  if (std::isnan(pixels)) return 0;
  const double near = std::clamp(pixels, -kFarPixels, kFarPixels);
  const int whole = static_cast<int>(near);
  return near < whole ? whole - 1 : whole;
}

int TwipScale::length(double twips) const { return toPixelInt(std::nearbyint(twips * pixelsPerTwip_)); }

QRect TwipScale::rect(const Geometry& g) const {
  const int left = length(g.left), top = length(g.top);
  return {left, top, length(g.left + g.width) - left, length(g.top + g.height) - top};
}

QRect TwipScale::box(double x1, double y1, double x2, double y2) const {
  const int left = pixel(std::min(x1, x2)), right = pixel(std::max(x1, x2));
  const int top = pixel(std::min(y1, y2)), bottom = pixel(std::max(y1, y2));
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace tk::qt
