// Module Arrays at its limits; the ordinary walk, clearing and summaries
// are golden foundation_tables'.
#include <gtest/gtest.h>

#include "model/arrays.h"

namespace {

class SharedTables : public ::testing::Test {
 protected:
  void SetUp() override { Arrays::resetAll(); }
};

TEST_F(SharedTables, AllSlotsInUseLeaveNoFreeSlot) {
  for (int s = 0; s < Arrays::kBarSlots; ++s) Arrays::bars[s].number = static_cast<std::int16_t>(s + 1);
  EXPECT_EQ(Arrays::firstFreeSlot(), -1);
  EXPECT_EQ(Arrays::highestBarSlot(), 287);
}

TEST_F(SharedTables, AListEndsAtItsFirstEntryThatIsNotPositiveOrAfterAllOf1024) {
  auto& list = *Arrays::listById(Arrays::kVuLeft, 0);
  for (int j = 1; j <= Arrays::kListEntries; ++j) list[j] = static_cast<std::int16_t>(j);
  int n = 0;
  Arrays::forEachChannel(list, [&](int) { ++n; });
  EXPECT_EQ(n, 1024);
  EXPECT_EQ(Arrays::channelCount(list), 1024);
  list[3] = -3;
  EXPECT_EQ(Arrays::channelCount(list), 2) << "a negative entry ends the list too";
}

TEST_F(SharedTables, ListIdsOutsideOneToSixNameNoList) {
  EXPECT_EQ(Arrays::listById(0, 0), nullptr);
  EXPECT_EQ(Arrays::listById(7, 0), nullptr);
  EXPECT_EQ(Arrays::listById(1, 288), nullptr);
  EXPECT_EQ(Arrays::listById(1, -1), nullptr);
  EXPECT_EQ(Arrays::listById(1, 3), &Arrays::barChannels[3]);
}

}  // namespace
