#pragma once
#include <QElapsedTimer>
#include <QTimer>
#include <memory>
#include <unordered_map>

#include "toolkit/event_loop.h"

namespace tk::qt {

// The toolkit's timers as Qt timers on the GUI thread. Each event runs as
// one toolkit event (tk::app().runEvent), so the windows follow the models
// after it.
class QtEventLoop : public EventLoop {
 public:
  QtEventLoop();
  ~QtEventLoop() override;
  std::int64_t nowMs() const override { return clock_.elapsed(); }
  void startTimer(Timer& timer) override;
  void stopTimer(Timer& timer) override;

 private:
  QElapsedTimer clock_;
  std::unordered_map<Timer*, QTimer*> timers_;
};

}  // namespace tk::qt
