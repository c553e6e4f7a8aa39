// The fuzz targets' checks must fire on exactly the faults they stand
// for: a check that never fails finds nothing, one that fails on a valid
// state buries real findings.
#include <gtest/gtest.h>

#include "fuzz/checking_helper.h"
#include "fuzz/table_invariants.h"
#include "model/arrays.h"
#include "toolkit/form.h"
#include "toolkit/list_view.h"

namespace {

using VantorTypeLib::Variant;

class InvariantsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Arrays::resetAll();
  }
  void TearDown() override { Arrays::resetAll(); }
};

TEST_F(InvariantsTest, ChannelListsWithoutHolesPass) {
  Arrays::ChannelList list{};
  fuzz::checkChannelList(list);  // empty
  for (int j = 1; j <= Arrays::kListEntries; ++j) list[j] = static_cast<std::int16_t>(j);
  fuzz::checkChannelList(list);  // full, channel 1024 last
}

TEST_F(InvariantsTest, HoleBeforeAChannelIsCaught) {
  Arrays::ChannelList list{};
  list[1] = 5;
  list[3] = 9;  // entry 2 is a hole
  EXPECT_DEATH(fuzz::checkChannelList(list), "invariant broken");
  Arrays::ChannelList last{};
  last[1024] = 7;  // a lone channel at the very end
  EXPECT_DEATH(fuzz::checkChannelList(last), "invariant broken");
}

TEST_F(InvariantsTest, ChannelOutsideDmxRangeIsCaught) {
  Arrays::ChannelList list{};
  list[1] = 1025;
  EXPECT_DEATH(fuzz::checkChannelList(list), "invariant broken");
}

TEST_F(InvariantsTest, BarInTheWrongSlotIsCaught) {
  Arrays::bars[3].number = 4;
  fuzz::checkTables();
  Arrays::bars[5].number = 5;  // slot 5 must hold number 6 or 0
  EXPECT_DEATH(fuzz::checkTables(), "invariant broken");
}

TEST_F(InvariantsTest, BarListMustShowTheTable) {
  tk::Form form("Probe", "Probe", 100, 100);
  tk::ListView list(form, "ListView1");
  Arrays::bars[1] = {2, 10, 12, 57, 100, 1, 0, 1};
  list.addRow({"0", "0", "0"});  // slot 0 is free: its zeros
  list.addRow({"10", "12", "57"});
  fuzz::checkBarList(list);

  list.removeRow(1);  // rows moved up: row 1 now shows slot 1
  EXPECT_DEATH(fuzz::checkBarList(list), "invariant broken");
}

TEST_F(InvariantsTest, HelperChecksChannelsAndValues) {
  fuzz::CheckingHelper helper;
  auto& stream = static_cast<VantorTypeLib::IPluginHelper&>(helper).MyStream();
  Variant one = Variant::i32(1), last = Variant::i32(1024), zero = Variant::i32(0), full = Variant::i32(255);
  stream.SetChannel(one, zero, Variant::boolean(true));
  stream.SetChannel(last, full, Variant::boolean(true));
  EXPECT_EQ(helper.channelsSent, 2u);

  Variant none = Variant::i32(0), beyond = Variant::i32(1025), tooBright = Variant::i32(256);
  EXPECT_DEATH(stream.SetChannel(none, full, Variant::boolean(true)), "invariant broken");
  EXPECT_DEATH(stream.SetChannel(beyond, full, Variant::boolean(true)), "invariant broken");
  EXPECT_DEATH(stream.SetChannel(one, tooBright, Variant::boolean(true)), "invariant broken");
  // The flag goes to the host as True (-1), never as a number.
  EXPECT_DEATH(stream.SetChannel(one, full, Variant::i16(1)), "invariant broken");

  // Levels past full scale scale past 255 on purpose; channels stay checked.
  helper.checkValues = false;
  stream.SetChannel(one, tooBright, Variant::boolean(true));
  EXPECT_DEATH(stream.SetChannel(beyond, full, Variant::boolean(true)), "invariant broken");
}

TEST_F(InvariantsTest, HelperAcceptsOnlyTheBeatMessage) {
  fuzz::CheckingHelper helper;
  auto& messages = static_cast<VantorTypeLib::IPluginHelper&>(helper).Messages();
  messages.Send(Variant::i32(9), Variant::i16(1), Variant::i16(0));
  EXPECT_EQ(helper.beatsSent, 1u);
  EXPECT_DEATH(messages.Send(Variant::i32(9), Variant::i16(0), Variant::i16(0)), "invariant broken");
}

}  // namespace
