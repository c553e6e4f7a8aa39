#include <gtest/gtest.h>

#include <memory>

#include "hostlink/vantor.h"
#include "model/arrays.h"
#include "tests/foundation/recording_helper.h"

using VantorTypeLib::Variant;
using Type = Variant::Type;

namespace {

class ChannelOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    Arrays::resetAll();
    Vantor::outputWasActive = 0;
    helper = std::make_shared<RecordingHelper>();
    Vantor::pluginHelper = helper;
  }
  void TearDown() override { Vantor::pluginHelper.reset(); }
  void output(std::int32_t channel, std::int32_t value) { Vantor::OutputChannel(channel, value); }

  std::shared_ptr<RecordingHelper> helper;
};

void expectSetChannel(const RecordingHelper::Call& call, std::int32_t channel, std::int32_t value, Type valueType) {
  ASSERT_EQ(call.member, "SetChannel");
  EXPECT_EQ(call.args[0].type, Type::Integer32);
  EXPECT_EQ(call.args[0].value, channel);
  EXPECT_EQ(call.args[1].type, valueType);
  EXPECT_EQ(call.args[1].value, value);
  EXPECT_EQ(call.args[2].type, Type::Boolean);
  EXPECT_EQ(call.args[2].value, -1);
}

TEST_F(ChannelOutput, OnSendsUserInteractionThenTheValue) {
  Arrays::dmxOutputActive = 1;
  output(5, 200);
  ASSERT_EQ(helper->calls.size(), 2u);
  EXPECT_EQ(helper->calls[0].member, "UserInteraction");
  expectSetChannel(helper->calls[1], 5, 200, Type::Integer32);
  EXPECT_EQ(Vantor::outputWasActive, 1);
}

TEST_F(ChannelOutput, OffFromTheStartCallsNothingAndSweepsNothing) {
  for (int i = 0; i < 3; ++i) output(5, 200);
  EXPECT_TRUE(helper->calls.empty());
}

TEST_F(ChannelOutput, SwitchedOffSweepsEveryChannelOnceInRisingOrder) {
  Arrays::dmxOutputActive = 1;
  output(5, 200);
  helper->calls.clear();
  Arrays::dmxOutputActive = 0;
  output(7, 99);  // this call's own channel is not sent
  ASSERT_EQ(helper->calls.size(), 2048u);
  for (int c = 1; c <= 1024; ++c) {
    EXPECT_EQ(helper->calls[2 * (c - 1)].member, "UserInteraction");
    expectSetChannel(helper->calls[2 * (c - 1) + 1], c, 0, Type::Integer16);
  }
  EXPECT_EQ(Vantor::outputWasActive, 0);
  helper->calls.clear();
  output(7, 99);
  output(8, 99);
  EXPECT_TRUE(helper->calls.empty());
}

TEST_F(ChannelOutput, GreyedSwitchCountsAsOff) {
  Arrays::dmxOutputActive = 1;
  output(5, 200);
  helper->calls.clear();
  Arrays::dmxOutputActive = 2;
  output(5, 200);
  EXPECT_EQ(helper->calls.size(), 2048u);
  helper->calls.clear();
  output(5, 200);
  EXPECT_TRUE(helper->calls.empty());
}

TEST_F(ChannelOutput, OnAgainAfterTheSweepSendsAndArmsTheNextSweep) {
  Arrays::dmxOutputActive = 1;
  output(1, 1);
  Arrays::dmxOutputActive = 0;
  output(1, 1);
  Arrays::dmxOutputActive = 1;
  output(3, 30);
  Arrays::dmxOutputActive = 0;
  helper->calls.clear();
  output(1, 1);
  EXPECT_EQ(helper->calls.size(), 2048u);
}

TEST_F(ChannelOutput, NothingBeforeInit) {
  Vantor::pluginHelper.reset();
  Arrays::dmxOutputActive = 1;
  output(5, 200);
  Vantor::SendBeat();
  EXPECT_EQ(Vantor::outputWasActive, 0);
  EXPECT_TRUE(helper->calls.empty());
}

TEST_F(ChannelOutput, AFailingHostCallNeverLeavesOutputChannel) {
  Arrays::dmxOutputActive = 1;
  helper->failUserInteraction = true;
  helper->failSetChannel = true;
  EXPECT_NO_THROW(output(5, 200));
  // Both calls were still made, and the state moved on.
  EXPECT_EQ(helper->calls.size(), 2u);
  EXPECT_EQ(Vantor::outputWasActive, 1);
  Arrays::dmxOutputActive = 0;
  EXPECT_NO_THROW(output(5, 200));
  EXPECT_EQ(helper->calls.size(), 2u + 2048u);
}

TEST_F(ChannelOutput, BeatIsNineOneZeroAndIgnoresTheOutputSwitch) {
  Arrays::dmxOutputActive = 0;
  Vantor::SendBeat();
  ASSERT_EQ(helper->calls.size(), 1u);
  const auto& call = helper->calls[0];
  EXPECT_EQ(call.member, "Send");
  EXPECT_EQ(call.args[0].type, Type::Integer32);
  EXPECT_EQ(call.args[0].value, 9);
  EXPECT_EQ(call.args[1].type, Type::Integer16);
  EXPECT_EQ(call.args[1].value, 1);
  EXPECT_EQ(call.args[2].type, Type::Integer16);
  EXPECT_EQ(call.args[2].value, 0);
}

}  // namespace
