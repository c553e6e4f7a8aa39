// The toolkit's timers on Qt's event loop: after a stall (the process
// stopped, the machine swapping) a timer fires once and goes on at its own
// pace, never making up the events it missed back to back, as the headless
// loop does too (tests/host/real_time_loop_test.cpp).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <thread>
#include <vector>

#include "tests/support/qt_fixture.h"
#include "toolkit/timer.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class Ticking : public tk::Form {
 public:
  Ticking() : tk::Form("Ticking", "Ticking", 3000, 2000) { finishDesign(); }
  tk::Timer Tick{*this, "Tick", {75, true}};
};

class QtEventLoop : public support::QtFixture {};

TEST_F(QtEventLoop, AfterAStallATimerFiresOnceAndNotTheEventsItMissed) {
  Ticking form;
  std::vector<Clock::time_point> fired;
  form.Tick.onTimer = [&] {
    fired.push_back(Clock::now());
    if (fired.size() == 3) std::this_thread::sleep_for(1s);
  };
  show(form);
  QElapsedTimer running;
  running.start();
  while (fired.size() < 20 && running.elapsed() < 10'000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  ASSERT_GE(fired.size(), 20u);
  int close = 0;
  for (std::size_t i = 1; i < fired.size(); ++i) close += fired[i] - fired[i - 1] < 20ms;
  EXPECT_LE(close, 1) << "events fired back to back after the stall";
}

}  // namespace
