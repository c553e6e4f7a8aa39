#pragma once
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace vantorhost {

// Paces the refreshes of one part of the host window: at most one per
// minimum gap, and none while the window is hidden or minimised (the one
// asked for then runs when it shows again). Requests in between merge into
// one, so a part can ask on every change and the window still wakes rarely.
class RefreshPacer : public QObject {
 public:
  using Clock = std::function<std::int64_t()>;
  RefreshPacer(QWidget& widget, std::int64_t minGapMs, Clock clock, std::function<void()> refresh);

  // A refresh as soon as the gap allows: now, or once the gap is over.
  void request() { requestAt(clock_()); }
  // A refresh at `whenMs` on the clock (or later, as the gap allows).
  void requestAt(std::int64_t whenMs);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool onScreen() const;
  void run();

  QWidget& widget_;
  std::int64_t minGapMs_;
  Clock clock_;
  std::function<void()> refresh_;
  QTimer timer_;
  std::int64_t lastMs_ = -1;
  std::int64_t dueMs_ = -1;  // the earliest refresh asked for, -1: none
};

}  // namespace vantorhost
