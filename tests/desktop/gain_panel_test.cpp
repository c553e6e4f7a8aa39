// The host window's gain panel: what is chosen there sets the bridge's gain
// at once and is kept; what it shows follows the bridge.
#include <QTest>
#include <filesystem>

#include "bridge/vbvis.h"
#include "tests/desktop/host_window_fixture.h"

namespace {

vbvis_gain_state bridgeGain() {
  vbvis_gain_state state{};
  vbvis_gain(&state);
  return state;
}

class GainPanelTest : public HostWindowTest {
 protected:
  void SetUp() override {
    // As the library loads, before the window; the bridge is one per process.
    ASSERT_EQ(vbvis_set_gain(0, 0.0), 0);
    HostWindowTest::SetUp();
  }
  void TearDown() override {
    vbvis_set_gain(0, 0.0);
    HostWindowTest::TearDown();
  }
};

}  // namespace

TEST_F(GainPanelTest, AChosenModeSetsTheBridgesGainAtOnceAndIsKept) {
  GainPanel& panel = host->gainPanel();
  EXPECT_EQ(panel.mode().currentIndex(), GainPanel::Fixed) << "the bridge starts fixed at 0 dB";
  EXPECT_EQ(panel.gainText().text(), "0.0 dB");

  choose(panel.mode(), GainPanel::Automatic);
  EXPECT_EQ(bridgeGain().automatic, 1);
  EXPECT_FALSE(panel.fixedBox().isEnabled());
  EXPECT_EQ(readHostSettings(keptFile()).gain, (GainChoice{true, 0.0}));
  // The fixed box means nothing while the gain is automatic.
  panel.fixedBox().setValue(20.0);
  EXPECT_EQ(bridgeGain().automatic, 1);

  choose(panel.mode(), GainPanel::Fixed);
  EXPECT_TRUE(panel.fixedBox().isEnabled());
  EXPECT_EQ(bridgeGain().automatic, 0);
  EXPECT_EQ(bridgeGain().gain_db, 20.0);
  panel.fixedBox().setValue(-7.5);
  EXPECT_EQ(bridgeGain().gain_db, -7.5);
  EXPECT_EQ(panel.gainText().text(), "-7.5 dB") << "shown at once, not at the next upkeep";
  EXPECT_EQ(readHostSettings(keptFile()).gain, (GainChoice{false, -7.5}));
  // The box keeps to the bridge's range: nothing it gives is refused.
  panel.fixedBox().setValue(99.0);
  EXPECT_EQ(bridgeGain().gain_db, kMaxGainDb);
  panel.fixedBox().setValue(-99.0);
  EXPECT_EQ(bridgeGain().gain_db, kMinGainDb);
  EXPECT_EQ(readHostSettings(keptFile()).gain, (GainChoice{false, kMinGainDb}));
}

TEST_F(GainPanelTest, WhatItShowsFollowsTheBridgeOnTheUpkeep) {
  ASSERT_EQ(vbvis_set_gain(0, 9.0), 0);
  HostWindow window(*session, *path, &kept);
  GainPanel& panel = window.gainPanel();
  EXPECT_EQ(panel.mode().currentIndex(), GainPanel::Fixed) << "a start shows the gain the run set";
  EXPECT_EQ(panel.fixedBox().value(), 9.0);
  EXPECT_EQ(panel.gainText().text(), "+9.0 dB");

  // Set elsewhere: shown on the next upkeep, and not kept as the user's choice.
  ASSERT_EQ(vbvis_set_gain(0, -3.0), 0);
  window.upkeep();
  EXPECT_EQ(panel.gainText().text(), "-3.0 dB");
  ASSERT_EQ(vbvis_set_gain(1, 0.0), 0);
  window.upkeep();
  EXPECT_EQ(panel.mode().currentIndex(), GainPanel::Automatic);
  EXPECT_FALSE(panel.fixedBox().isEnabled());
  EXPECT_FALSE(std::filesystem::exists(keptFile()));
}

TEST_F(GainPanelTest, ItShowsTheLevelsAroundTheGainAndWhenTheGateHoldsIt) {
  GainPanel& panel = host->gainPanel();
  panel.showState({1, 0, 0.0, 23.64, -39.98, -16.34});
  EXPECT_EQ(panel.gainText().text(), "+23.6 dB");
  EXPECT_EQ(panel.levelText().text(), "in -40.0, out -16.3 dBFS");
  panel.showState({1, 1, 0.0, 12.0, -62.0, -50.0});
  EXPECT_EQ(panel.levelText().text(), QString("in -62.0, out -50.0 dBFS") + GainPanel::kHeld);
  panel.showState({1, 1, 0.0, -0.01, -120.0, -120.0});
  EXPECT_EQ(panel.gainText().text(), "0.0 dB") << "never -0.0";
  EXPECT_EQ(panel.levelText().text(), QString("silent") + GainPanel::kHeld);
  // A fixed gain is never held: it does not move anyway.
  panel.showState({0, 1, 6.0, 6.0, -62.0, -56.0});
  EXPECT_EQ(panel.levelText().text(), "in -62.0, out -56.0 dBFS");
}
