// The headless run's loop never makes up missed events back to back (the
// detectors would get stale audio at made-up times).
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

#include "tests/support/stalled_timer.h"
#include "toolkit/application.h"
#include "vantorhost/run/real_time_loop.h"
#include "vantorhost/run/stop_signals.h"

namespace {

// Twenty events, the third stalling; the twentieth asks for the stop.
int eventsOnTopOfEachOther() {
  vantorhost::RealTimeLoop loop;
  tk::app().setLoop(&loop);
  vantorhost::catchStopSignals();
  support::StalledTimerForm form([](std::size_t events) {
    if (events == 20) ::raise(SIGTERM);
  });
  form.load();
  loop.runUntilInterrupted();
  return form.eventsOnTopOfEachOther();
}

TEST(RealTimeLoop, AfterAStallATimerFiresOnceAndNotTheEventsItMissed) {
  // In a process of its own: the stop request stays for good.
  const pid_t child = ::fork();
  if (child == 0) ::_exit(std::min(eventsOnTopOfEachOther(), 100));
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  // One may fall close to the next on a busy machine; a make-up is a dozen.
  EXPECT_LE(WEXITSTATUS(status), 1) << "events fired back to back after the stall";
}

}  // namespace
