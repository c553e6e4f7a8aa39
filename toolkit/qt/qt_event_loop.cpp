#include "toolkit/qt/qt_event_loop.h"

#include "toolkit/application.h"
#include "toolkit/timer.h"

namespace tk::qt {

QtEventLoop::QtEventLoop() { clock_.start(); }

QtEventLoop::~QtEventLoop() {
  for (auto& [timer, qtimer] : timers_) delete qtimer;
}

void QtEventLoop::startTimer(Timer& timer) {
  QTimer*& qtimer = timers_[&timer];
  if (!qtimer) {
    qtimer = new QTimer;
    // The tick runs every 75 ms; a coarse timer could stretch that by 5%.
    qtimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(qtimer, &QTimer::timeout, [t = &timer] { app().runEvent([t] { t->fire(); }); });
  }
  qtimer->start(timer.interval());
}

void QtEventLoop::stopTimer(Timer& timer) {
  auto it = timers_.find(&timer);
  if (it == timers_.end()) return;
  it->second->stop();
  // A handler may stop its own timer while that timer's signal is running.
  it->second->deleteLater();
  timers_.erase(it);
}

}  // namespace tk::qt
