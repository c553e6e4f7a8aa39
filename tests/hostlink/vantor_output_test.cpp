// Module Vantor, the only caller of the host's helper object.
#include <gtest/gtest.h>

#include <memory>

#include "hostlink/vantor.h"
#include "model/arrays.h"
#include "tests/support/fake_host.h"

namespace {

using support::FakeHost;
using Type = VantorTypeLib::Variant::Type;

class ChannelOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    Arrays::resetAll();
    Vantor::outputWasActive = 0;
    Vantor::pluginHelper = host;
  }
  void TearDown() override { Vantor::pluginHelper.reset(); }
  void output(std::int32_t channel, std::int32_t value, std::uint8_t active) {
    Arrays::dmxOutputActive = active;
    Vantor::OutputChannel(channel, value);
  }
  // The member and the width each argument was passed with, e.g. "SetChannel i32 i16 True".
  std::string call(std::size_t i) const {
    const FakeHost::Call& c = host->calls.at(i);
    if (c.member == FakeHost::Member::UserInteraction) return "UserInteraction";
    std::string out = c.member == FakeHost::Member::SetChannel ? "SetChannel" : "Send";
    for (const auto& a : c.args)
      out += a.type == Type::Boolean ? (a.value == -1 ? " True" : " False")
                                     : (a.type == Type::Integer16 ? " i16:" : " i32:") + std::to_string(a.value);
    return out;
  }
  std::shared_ptr<FakeHost> host = std::make_shared<FakeHost>();
};

// The widths the values are passed with, which no trace shows.
TEST_F(ChannelOutput, ValuesGoAsLongsTheSweepsZerosAndTheBeatsArgumentsAsIntegers) {
  output(5, 200, 1);
  output(7, 99, 0);
  Vantor::SendBeat();
  ASSERT_EQ(host->calls.size(), 2u + 2048u + 1u);
  EXPECT_EQ(call(1), "SetChannel i32:5 i32:200 True");
  EXPECT_EQ(call(3), "SetChannel i32:1 i16:0 True");
  EXPECT_EQ(call(2049), "SetChannel i32:1024 i16:0 True");
  EXPECT_EQ(call(2050), "Send i32:9 i16:1 i16:0");
}

TEST_F(ChannelOutput, NothingBeforeInit) {
  Vantor::pluginHelper.reset();
  output(5, 200, 1);
  Vantor::SendBeat();
  EXPECT_EQ(Vantor::outputWasActive, 0);
  EXPECT_TRUE(host->calls.empty());
}

TEST_F(ChannelOutput, AFailingHostCallNeverLeavesOutputChannel) {
  host->failUserInteraction = host->failSetChannel = true;
  EXPECT_NO_THROW(output(5, 200, 1));
  EXPECT_EQ(host->calls.size(), 2u) << "both calls were still made";
  EXPECT_NO_THROW(output(5, 200, 0));
  EXPECT_EQ(host->calls.size(), 2u + 2048u) << "and the sweep ran through";
}

TEST_F(ChannelOutput, AHostWithoutItsStreamYetIsAskedAgainOnTheNextWrite) {
  host->failMyStream = 1;
  Vantor::pluginHelper = host;  // a fresh reference looks the stream up anew
  output(5, 200, 1);
  EXPECT_TRUE(host->calls.empty());
  output(6, 100, 1);
  ASSERT_EQ(host->calls.size(), 2u);
  EXPECT_EQ(call(1), "SetChannel i32:6 i32:100 True");
}

}  // namespace
