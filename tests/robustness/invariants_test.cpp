// The fuzz targets' checks must fire on exactly the faults they stand
// for: a check that never fails finds nothing, one that fails on a valid
// state buries real findings.
#include <gtest/gtest.h>

#include "fuzz/host_call_check.h"
#include "fuzz/table_invariants.h"
#include "model/arrays.h"

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

// Empty and full lists pass; a hole before a channel (also a lone last
// entry) and a channel past 1024 do not.
TEST_F(InvariantsTest, ChannelListsAreCheckedForHolesAndRange) {
  Arrays::ChannelList list{};
  fuzz::checkChannelList(list);
  for (int j = 1; j <= Arrays::kListEntries; ++j) list[j] = static_cast<std::int16_t>(j);
  fuzz::checkChannelList(list);
  list[2] = 0;
  EXPECT_DEATH(fuzz::checkChannelList(list), "invariant broken");
  Arrays::ChannelList last{};
  last[1024] = 7;
  EXPECT_DEATH(fuzz::checkChannelList(last), "invariant broken");
  Arrays::ChannelList beyond{};
  beyond[1] = 1025;
  EXPECT_DEATH(fuzz::checkChannelList(beyond), "invariant broken");
}

// Channels 1..1024 with values 0..255 and the flag True; values past 255
// pass while levels beyond full scale are fed in; only the beat message.
TEST_F(InvariantsTest, HostCallsAreChecked) {
  using Call = support::FakeHost::Call;
  using Member = support::FakeHost::Member;
  const auto set = [](int channel, int value, Variant flag = Variant::boolean(true)) {
    return Call{Member::SetChannel, {Variant::i32(channel), Variant::i32(value), flag}};
  };
  fuzz::HostCallCheck check;
  check(set(1, 0));
  check(set(1024, 255));
  check(Call{Member::Send, {Variant::i32(9), Variant::i16(1), Variant::i16(0)}});
  EXPECT_DEATH(check(set(0, 255)), "invariant broken");
  EXPECT_DEATH(check(set(1025, 255)), "invariant broken");
  EXPECT_DEATH(check(set(1, 256)), "invariant broken");
  EXPECT_DEATH(check(set(1, 255, Variant::i16(1))), "invariant broken");
  EXPECT_DEATH(check(Call{Member::Send, {Variant::i32(9), Variant::i16(0), Variant::i16(0)}}), "invariant broken");
  check.checkValues = false;
  check(set(1, 256));
  EXPECT_DEATH(check(set(1025, 255)), "invariant broken");
}

}  // namespace
