#include "vantorhost/desktop/refresh_pacer.h"

#include <QEvent>
#include <algorithm>

namespace vantorhost {

RefreshPacer::RefreshPacer(QWidget& widget, std::int64_t minGapMs, Clock clock, std::function<void()> refresh)
    : widget_(widget), minGapMs_(minGapMs), clock_(std::move(clock)), refresh_(std::move(refresh)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { requestAt(dueMs_); });
  widget_.window()->installEventFilter(this);
}

void RefreshPacer::requestAt(std::int64_t whenMs) {
  dueMs_ = dueMs_ < 0 ? whenMs : std::min(dueMs_, whenMs);
  if (!onScreen()) {
    timer_.stop();  // the window's return runs it
    return;
  }
  const std::int64_t now = clock_();
  const std::int64_t at = lastMs_ < 0 ? dueMs_ : std::max(dueMs_, lastMs_ + minGapMs_);
  if (at <= now) {
    run();
  } else if (!timer_.isActive() || timer_.remainingTime() > at - now) {
    timer_.start(static_cast<int>(at - now));
  }
}

void RefreshPacer::run() {
  timer_.stop();
  dueMs_ = -1;
  lastMs_ = clock_();
  refresh_();
}

bool RefreshPacer::onScreen() const { return widget_.isVisible() && !widget_.window()->isMinimized(); }

bool RefreshPacer::eventFilter(QObject* watched, QEvent* event) {
  if ((event->type() == QEvent::Show || event->type() == QEvent::WindowStateChange) && dueMs_ >= 0 && onScreen())
    requestAt(dueMs_);
  return QObject::eventFilter(watched, event);
}

}  // namespace vantorhost
