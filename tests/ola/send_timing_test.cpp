// When a universe goes out, how long a missing olad is waited for, and how
// an unpatched universe is reported: pure rules, no olad.
#include <gtest/gtest.h>

#include "vantorhost/dmx/retry_delay.h"
#include "vantorhost/dmx/send_schedule.h"
#include "vantorhost/dmx/universe_patch.h"

TEST(SendSchedule, FirstSendIsDueAtOnce) {
  SendSchedule s;
  EXPECT_TRUE(s.due(0));
  EXPECT_EQ(s.nextDueMs(123), 123);
}

TEST(SendSchedule, ChangeWaitsForTheFrameGapOf25Ms) {
  SendSchedule s;
  s.sent(1000);
  s.changed();
  EXPECT_FALSE(s.due(1000));
  EXPECT_FALSE(s.due(1024));
  EXPECT_TRUE(s.due(1025));
  EXPECT_EQ(s.nextDueMs(1010), 1025);
}

TEST(SendSchedule, UnchangedUniverseIsRefreshedOnceASecond) {
  SendSchedule s;
  s.sent(5000);
  EXPECT_FALSE(s.due(5025));
  EXPECT_FALSE(s.due(5999));
  EXPECT_TRUE(s.due(6000));
  EXPECT_EQ(s.nextDueMs(5500), 6000);
  s.sent(6000);
  EXPECT_FALSE(s.due(6500));
}

TEST(SendSchedule, SendingClearsTheChange) {
  SendSchedule s;
  s.sent(0);
  s.changed();
  s.sent(30);
  EXPECT_FALSE(s.due(60));
}

TEST(SendSchedule, ResendIsDueAtOnceAfterReconnecting) {
  SendSchedule s;
  s.sent(100);
  s.resend();
  EXPECT_TRUE(s.due(101));
}

TEST(SendSchedule, ClockGoingBackwardsDoesNotStallOutput) {
  SendSchedule s;
  s.sent(100000);
  EXPECT_TRUE(s.due(50));
}

TEST(RetryDelay, StartsAt250MsAndNeverExceedsOneSecond) {
  RetryDelay r;
  for (int i = 0; i < 8; ++i) EXPECT_EQ(r.next(), 250) << i;
  for (int i = 0; i < 8; ++i) EXPECT_EQ(r.next(), 500) << i;
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(r.next(), 1000) << i;
}

TEST(RetryDelay, ResetStartsTheNextOutageShort) {
  RetryDelay r;
  for (int i = 0; i < 30; ++i) r.next();
  r.reset();
  EXPECT_EQ(r.next(), 250);
}

TEST(UnpatchedUniverse, BothPatchedSaysNothing) {
  EXPECT_TRUE(unpatchedUniverses(1, {{1, 1}, {2, 3}, {9, 0}}).empty());
}

TEST(UnpatchedUniverse, UnlistedUniverseIsUnpatched) {
  EXPECT_EQ(unpatchedUniverses(1, {{1, 1}}), std::vector<unsigned>{2});
  EXPECT_EQ(unpatchedUniverses(1, {}), (std::vector<unsigned>{1, 2}));
}

TEST(UnpatchedUniverse, KnownUniverseWithoutOutputPortCountsAsUnpatched) {
  // olad lists a universe as soon as a client sends to it, ports or not.
  EXPECT_EQ(unpatchedUniverses(7, {{7, 0}, {8, 1}}), std::vector<unsigned>{7});
}

TEST(UnpatchedUniverse, WarningNamesTheUniverseAndItsChannels) {
  EXPECT_EQ(unpatchedUniverseWarning(1, 2),
            "DMX: OLA universe 2 has no output patched in olad; channels 513..1024 reach no lights");
  EXPECT_EQ(unpatchedUniverseWarning(2147483646u, 2147483646u),
            "DMX: OLA universe 2147483646 has no output patched in olad; channels 1..512 reach no lights");
}
