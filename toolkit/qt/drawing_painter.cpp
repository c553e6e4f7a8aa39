#include "toolkit/qt/drawing_painter.h"

#include <algorithm>

#include "toolkit/qt/ole_color.h"

namespace tk::qt {

namespace {

QRect boxPixels(const DrawBox& b, const TwipScale& scale) { return scale.box(b.x1, b.y1, b.x2, b.y2); }

bool sameBox(const DrawBox& a, const DrawBox& b) {
  return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.color == b.color && a.filled == b.filled;
}

}  // namespace

void paintDrawing(QPainter& painter, const DrawingList& drawing, const TwipScale& scale, const QRect& exposed) {
  const QPalette palette;
  OleColor lastColor = 0;
  QColor color = toQColor(lastColor, palette);
  for (const DrawBox& b : drawing) {
    const QRect r = boxPixels(b, scale);
    if (!r.intersects(exposed)) continue;
    if (b.color != lastColor) {
      lastColor = b.color;
      color = toQColor(b.color, palette);
    }
    if (b.filled || r.width() <= 2 || r.height() <= 2) {
      // An outline this small is all border.
      painter.fillRect(r, color);
      continue;
    }
    fillOutline(painter, r, color);
  }
}

void fillOutline(QPainter& painter, const QRect& r, const QColor& color) {
  painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
  painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
  painter.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), color);
  painter.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), color);
}

QRect drawingBounds(const DrawingList& drawing, const TwipScale& scale) {
  QRect bounds;
  for (const DrawBox& b : drawing) bounds |= boxPixels(b, scale);
  return bounds;
}

QRect changedBounds(const DrawingList& before, const DrawingList& after, const TwipScale& scale) {
  QRect bounds;
  const std::size_t common = std::min(before.size(), after.size());
  for (std::size_t i = 0; i < common; ++i)
    if (!sameBox(before[i], after[i])) bounds |= boxPixels(before[i], scale) | boxPixels(after[i], scale);
  for (std::size_t i = common; i < before.size(); ++i) bounds |= boxPixels(before[i], scale);
  for (std::size_t i = common; i < after.size(); ++i) bounds |= boxPixels(after[i], scale);
  return bounds;
}

}  // namespace tk::qt
