#pragma once
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <vector>

#include "toolkit/drawing.h"
#include "toolkit/qt/twip_scale.h"

namespace tk::qt {

// A form's drawing list as a window shows it: filled boxes and one-pixel
// outlines, each at least one pixel wide and high, so a box one twip high
// stays a visible line. Each box's pixels are worked out once, when it
// changes (or the scale does).
class ShownDrawing {
 public:
  // Takes the form's drawing now; gives the pixels where it differs from
  // the one shown so far (the boxes that moved, changed or came and went,
  // where they were and where they are).
  QRect update(const DrawingList& drawing, const TwipScale& scale);
  // Paints the boxes that reach into `exposed`, as rectangle fills only, so
  // the painter's state never changes on the way.
  void paint(QPainter& painter, const QRect& exposed) const;

 private:
  DrawingList boxes_;
  std::vector<QRect> pixels_;
  TwipScale scale_;
};

// Calls paint(rect) for each rectangle of a paint event's region, with
// the painter clipped to that rectangle alone. Qt clips a paint to its
// region; a region of many rectangles (a window whose child widgets cut
// holes into it, partial updates here and there) sends every fill through
// a span-by-span clip, several times dearer than the plain fill that a
// rectangle clip allows.
template <class PaintRect>
void paintEachRect(QPainter& painter, const QRegion& region, PaintRect paint) {
  for (const QRect& rect : region) {
    painter.setClipRect(rect);
    paint(rect);
  }
  painter.setClipping(false);
}

// A one-pixel outline along the inside of `r`, as four fills: what a
// one-pixel pen draws around it, with no pen to stroke.
void fillOutline(QPainter& painter, const QRect& r, const QColor& color);

}  // namespace tk::qt
