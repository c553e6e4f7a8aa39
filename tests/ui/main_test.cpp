// Main where the end-to-end scripts cannot see: pixels past the width and
// greyed switches.
#include "tests/ui/main_fixture.h"

namespace {

using MainTick = MainTest;

TEST_F(MainTick, OnlyThePixelsWithinTheWidthAreRefreshed) {
  spectrum(std::string(288 * 2, 'f'));
  tick();
  main.Slider3.setValue(100);
  spectrum("");
  tick();
  EXPECT_EQ(main.pixelHeights[99], 0) << "a bin the bridge did not report reads 0";
  EXPECT_EQ(main.pixelHeights[100], 1250) << "beyond the width: last height kept";
}

// Greyed (2) counts as off for the detectors, as "unmuted" for nothing.
TEST_F(MainTick, GreyedSwitchesAreOff) {
  main.beatVuState = main.beatPixelState = main.beatBarState = 1;
  main.LEDMeter2.show(40);
  main.Check3.setValue(2);
  main.Check5.setValue(1);
  main.Check9.setValue(2);
  bar(0, 1, 1);
  Arrays::barChannels[0][1] = 7;
  spectrum("ff");
  tick();
  EXPECT_EQ(main.beatVuState + main.beatPixelState + main.beatBarState, 0);
  EXPECT_FALSE(main.LEDMeter2.level().has_value());
  EXPECT_FALSE(main.Option1[0].enabled());
  EXPECT_TRUE(host->calls.empty()) << "a greyed mute sends nothing";
  EXPECT_EQ(main.beatBarLevel, 255) << "but still watches";
}

}  // namespace
