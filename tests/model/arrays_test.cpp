#include <gtest/gtest.h>

#include "model/arrays.h"

namespace {

class SharedTables : public ::testing::Test {
 protected:
  void SetUp() override { Arrays::resetAll(); }
  static void holdBar(int slot) { Arrays::bars[slot].number = static_cast<std::int16_t>(slot + 1); }
};

TEST_F(SharedTables, AClearedMiddleBarIsTheNextFreeSlotWhileLaterBarsStay) {
  for (int s = 0; s < 3; ++s) holdBar(s);
  Arrays::barChannels[1][1] = 9;
  Arrays::clearBar(1);
  EXPECT_EQ(Arrays::firstFreeSlot(), 1);
  EXPECT_EQ(Arrays::highestBarSlot(), 2);
  EXPECT_EQ(Arrays::barChannels[1][1], 0);
}

TEST_F(SharedTables, AllSlotsInUseLeaveNoFreeSlot) {
  for (int s = 0; s < Arrays::kBarSlots; ++s) holdBar(s);
  EXPECT_EQ(Arrays::firstFreeSlot(), -1);
  EXPECT_EQ(Arrays::highestBarSlot(), 287);
}

TEST_F(SharedTables, TheWalkStopsAtTheFirstEntryThatIsNotPositive) {
  auto& list = *Arrays::listById(Arrays::kVuLeft, 0);
  list[1] = 5;
  list[2] = 7;
  list[3] = 0;
  list[4] = 9;
  std::vector<int> seen;
  Arrays::forEachChannel(list, [&](int c) { seen.push_back(c); });
  EXPECT_EQ(seen, (std::vector<int>{5, 7}));
  EXPECT_EQ(Arrays::channelCount(list), 2);
  list[1] = -3;
  EXPECT_EQ(Arrays::channelCount(list), 0) << "a negative entry ends the list too";
}

TEST_F(SharedTables, AFullListHasAllTenTwentyFourChannels) {
  auto& list = Arrays::barChannels[287];
  for (int j = 1; j <= Arrays::kListEntries; ++j) list[j] = static_cast<std::int16_t>(j);
  EXPECT_EQ(Arrays::channelCount(list), 1024);
  int n = 0;
  Arrays::forEachChannel(list, [&](int) { ++n; });
  EXPECT_EQ(n, 1024);
}

TEST_F(SharedTables, ListIdsOutsideOneToSixNameNoList) {
  EXPECT_EQ(Arrays::listById(0, 0), nullptr);
  EXPECT_EQ(Arrays::listById(7, 0), nullptr);
  EXPECT_EQ(Arrays::listById(1, 288), nullptr);
  EXPECT_EQ(Arrays::listById(1, -1), nullptr);
  EXPECT_EQ(Arrays::listById(1, 3), &Arrays::barChannels[3]);
}

}  // namespace
