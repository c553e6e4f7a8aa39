#include "toolkit/qt/drawing_painter.h"

#include <algorithm>

#include "toolkit/qt/ole_color.h"

namespace tk::qt {

namespace {

bool sameBox(const DrawBox& a, const DrawBox& b) {
  return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.color == b.color && a.filled == b.filled;
}

}  // namespace

QRect ShownDrawing::update(const DrawingList& drawing, const TwipScale& scale) {
  // A new scale moves every box.
  if (!(scale == scale_)) {
    scale_ = scale;
    QRect all;
    for (const QRect& r : pixels_) all |= r;
    boxes_.clear();
    pixels_.clear();
    return all | update(drawing, scale);
  }
  QRect changed;
  const std::size_t kept = std::min(drawing.size(), boxes_.size());
  for (std::size_t i = kept; i < boxes_.size(); ++i) changed |= pixels_[i];
  pixels_.resize(drawing.size());
  // Only a box that changed is worked out anew: a tick moves a few of them.
  for (std::size_t i = 0; i < drawing.size(); ++i) {
    const DrawBox& b = drawing[i];
    if (i < kept && sameBox(boxes_[i], b)) continue;
    const QRect now = scale.box(b.x1, b.y1, b.x2, b.y2);
    changed |= i < kept ? pixels_[i] | now : now;
    pixels_[i] = now;
  }
  boxes_ = drawing;
  return changed;
}

void ShownDrawing::paint(QPainter& painter, const QRect& exposed) const {
  const QPalette palette;
  OleColor lastColor = 0;
  QColor color = toQColor(lastColor, palette);
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    const QRect& r = pixels_[i];
    if (!r.intersects(exposed)) continue;
    if (boxes_[i].color != lastColor) {
      lastColor = boxes_[i].color;
      color = toQColor(lastColor, palette);
    }
    // An outline this small is all border.
    if (boxes_[i].filled || r.width() <= 2 || r.height() <= 2) painter.fillRect(r, color);
    else fillOutline(painter, r, color);
  }
}

void fillOutline(QPainter& painter, const QRect& r, const QColor& color) {
  painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
  painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
  painter.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), color);
  painter.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), color);
}

}  // namespace tk::qt
