#include "toolkit/qt/level_meter_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "toolkit/qt/drawing_painter.h"

namespace tk::qt {

namespace {

constexpr int kPitch = 5;  // pixels per segment: 4 lit, 1 gap

QColor segmentColor(int index, int count, bool lit) {
  const double share = (index + 1.0) / count;
  QColor c = share > 0.9 ? QColor(230, 30, 30) : share > 0.7 ? QColor(240, 210, 0) : QColor(30, 210, 40);
  return lit ? c : c.darker(450);
}

}  // namespace

LevelMeterWidget::LevelMeterWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void LevelMeterWidget::setLevel(std::optional<std::int16_t> level) {
  if (level == level_) return;
  const int count = segmentCount();
  const int before = litSegments(level_, count), after = litSegments(level, count);
  level_ = level;
  // The segments between the old and the new top change, nothing else: one
  // rectangle, as both lit areas start at the same edge.
  if (before != after) update(changedArea(before, after));
}

QRect LevelMeterWidget::changedArea(int before, int after) const {
  const QRect more = litArea(std::max(before, after)), less = litArea(std::min(before, after));
  if (height() >= width()) return QRect(more.left(), more.top(), more.width(), more.height() - less.height());
  return QRect(more.left() + less.width(), more.top(), more.width() - less.width(), more.height());
}

int LevelMeterWidget::segmentCount() const {
  const int span = std::max(width(), height()) - 2;
  return std::max(1, span / kPitch);
}

int LevelMeterWidget::litSegments(std::optional<std::int16_t> level, int count) {
  if (!level) return 0;
  const int percent = std::clamp<int>(*level, 0, 100);
  return static_cast<int>(std::nearbyint(percent * count / 100.0));
}

// Segment i lies kPitch * i from the bottom (left) edge; the gap above it
// belongs to it.
QRect LevelMeterWidget::litArea(int lit) const {
  if (height() >= width()) return QRect(0, height() - 1 - kPitch * lit, width(), kPitch * lit + 1);
  return QRect(0, 0, kPitch * lit + 1, height());
}

void LevelMeterWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const int count = segmentCount();
  const int lit = litSegments(level_, count);
  const bool vertical = height() >= width();
  paintEachRect(p, event->region(), [&](const QRect& exposed) {
    p.fillRect(exposed, QColor(16, 16, 16));
    for (int i = 0; i < count; ++i) {
      const int offset = 1 + i * kPitch;
      const QRect seg = vertical ? QRect(2, height() - 1 - offset - (kPitch - 1), width() - 4, kPitch - 1)
                                 : QRect(offset, 2, kPitch - 1, height() - 4);
      if (seg.intersects(exposed)) p.fillRect(seg, segmentColor(i, count, i < lit));
    }
  });
}

}  // namespace tk::qt
