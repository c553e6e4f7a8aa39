// The toolkit's timers on Qt's event loop: after a stall (the process
// stopped, the machine swapping) a timer fires once and goes on at its own
// pace, never making up the events it missed back to back, as the headless
// loop does too (tests/host/real_time_loop_test.cpp).
#include <QCoreApplication>
#include <QElapsedTimer>

#include "tests/support/qt_fixture.h"
#include "tests/support/stalled_timer.h"

namespace {

class QtEventLoop : public support::QtFixture {};

TEST_F(QtEventLoop, AfterAStallATimerFiresOnceAndNotTheEventsItMissed) {
  support::StalledTimerForm form;
  show(form);
  QElapsedTimer running;
  running.start();
  while (form.fired.size() < 20 && running.elapsed() < 10'000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  ASSERT_GE(form.fired.size(), 20u);
  EXPECT_LE(form.eventsOnTopOfEachOther(), 1) << "events fired back to back after the stall";
}

}  // namespace
