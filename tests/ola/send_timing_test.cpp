// When a universe goes out, and how an unpatched universe is reported:
// pure rules, no olad.
#include <gtest/gtest.h>

#include "vantorhost/dmx/send_schedule.h"
#include "vantorhost/dmx/universe_patch.h"

using namespace vantorhost;

TEST(SendSchedule, ChangesWaitForTheFrameGapAndSendingClearsThem) {
  SendSchedule s;
  EXPECT_TRUE(s.due(0));  // the first send goes at once
  EXPECT_EQ(s.nextDueMs(123), 123);
  s.sent(1000);
  s.changed();
  EXPECT_FALSE(s.due(1024));  // 40/s: 25 ms apart
  EXPECT_TRUE(s.due(1025));
  EXPECT_EQ(s.nextDueMs(1010), 1025);
  s.sent(1030);
  EXPECT_FALSE(s.due(1060));
}

TEST(SendSchedule, UnchangedUniverseIsRefreshedOnceASecond) {
  SendSchedule s;
  s.sent(5000);
  EXPECT_FALSE(s.due(5999));
  EXPECT_TRUE(s.due(6000));
  EXPECT_EQ(s.nextDueMs(5500), 6000);
  s.sent(6000);
  EXPECT_FALSE(s.due(6500));
}

TEST(SendSchedule, ResendAndABackwardClockAreDueAtOnce) {
  SendSchedule s;
  s.sent(100);
  s.resend();  // after reconnecting
  EXPECT_TRUE(s.due(101));
  s.sent(100000);
  EXPECT_TRUE(s.due(50));  // a clock going backwards must not stall output
}

TEST(UnpatchedUniverse, UnlistedOrPortlessUniversesAreNamed) {
  EXPECT_TRUE(unpatchedUniverses(1, {{1, 1}, {2, 3}, {9, 0}}).empty());
  EXPECT_EQ(unpatchedUniverses(1, {{1, 1}}), std::vector<unsigned>{2});
  EXPECT_EQ(unpatchedUniverses(1, {}), (std::vector<unsigned>{1, 2}));
  // olad lists a universe as soon as a client sends to it, ports or not.
  EXPECT_EQ(unpatchedUniverses(7, {{7, 0}, {8, 1}}), std::vector<unsigned>{7});
  EXPECT_EQ(unpatchedUniverseWarning(1, 2),
            "DMX: OLA universe 2 has no output patched in olad; channels 513..1024 reach no lights");
  EXPECT_EQ(unpatchedUniverseWarning(2147483646u, 2147483646u),
            "DMX: OLA universe 2147483646 has no output patched in olad; channels 1..512 reach no lights");
}
