#include "toolkit/qt/drawing_painter.h"

#include "toolkit/qt/ole_color.h"

namespace tk::qt {

namespace {

QRect boxPixels(const DrawBox& b, const TwipScale& scale) { return scale.box(b.x1, b.y1, b.x2, b.y2); }

}  // namespace

void paintDrawing(QPainter& painter, const DrawingList& drawing, const TwipScale& scale) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  const QPalette palette;
  for (const DrawBox& b : drawing) {
    const QRect r = boxPixels(b, scale);
    const QColor color = toQColor(b.color, palette);
    if (b.filled || r.width() <= 2 || r.height() <= 2) {
      // An outline this small is all border.
      painter.fillRect(r, color);
    } else {
      painter.setPen(QPen(color, 0));
      painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
  }
  painter.restore();
}

QRect drawingBounds(const DrawingList& drawing, const TwipScale& scale) {
  QRect bounds;
  for (const DrawBox& b : drawing) bounds |= boxPixels(b, scale);
  return bounds;
}

}  // namespace tk::qt
