#include "vantorhost/desktop/beat_indicator.h"

#include <QPainter>

namespace vantorhost {

BeatIndicator::BeatIndicator(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
  dark_.setSingleShot(true);
  QObject::connect(&dark_, &QTimer::timeout, [this] { setLit(false); });
}

void BeatIndicator::flash() {
  setLit(true);
  litFor_.start();
  dark_.start(kLongestFlashMs);
}

void BeatIndicator::darkenIfDue() {
  if (!lit_ || litFor_.elapsed() < kFlashMs) return;
  dark_.stop();
  setLit(false);
}

void BeatIndicator::setLit(bool lit) {
  if (lit == lit_) return;
  lit_ = lit;
  update();
}

void BeatIndicator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(lit_ ? QColor(255, 220, 40) : QColor(70, 60, 20));
  p.drawEllipse(rect().adjusted(1, 1, -2, -2));
}

}  // namespace vantorhost
