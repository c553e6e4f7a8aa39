#include "tests/engine/engine_fixture.h"

namespace {

using MainTick = EngineTest;

TEST_F(MainTick, OnlyThePixelsWithinTheWidthAreRefreshed) {
  spectrum(std::string(288 * 2, 'f'));
  tick();
  main.Slider3.setValue(100);
  spectrum("");
  tick();
  EXPECT_EQ(main.pixelHeights[99], 0) << "a bin the bridge did not report reads 0";
  EXPECT_EQ(main.pixelHeights[100], 1250) << "beyond the width: last height kept";
  EXPECT_EQ(boxesOf(tk::kPalette0), 100u);
}

TEST_F(MainTick, AllSlotsInUseKeepTheLastBarCount) {
  for (int s = 0; s < 5; ++s) bar(s, 1, 1, 100, 1);
  tick();
  EXPECT_EQ(main.VScroll4.min(), 5);
  for (int s = 0; s < Arrays::kBarSlots; ++s) bar(s, 1, 1, 100, 1);
  tick();
  EXPECT_EQ(main.barCount, 5);
  EXPECT_EQ(boxesOf(tk::kPalette4), 288u) << "all 288 are still evaluated";
}

TEST_F(MainTick, SwitchedOffDetectorsAreResetEveryTick) {
  main.beatVuState = main.beatPixelState = main.beatBarState = 1;
  main.LEDMeter2.show(40);
  main.Check3.setValue(2);  // greyed counts as off
  tick();
  EXPECT_EQ(main.beatVuState + main.beatPixelState + main.beatBarState, 0);
  EXPECT_FALSE(main.LEDMeter2.level().has_value());
  EXPECT_FALSE(main.Option1[0].enabled());
}

TEST_F(MainTick, FormVariablesSurviveClosingAndControlsStartFromDesign) {
  main.Check1.setValue(1);
  main.Slider1.setValue(150);
  tick();
  tk::app().runEvent([this] { main.discard(); });
  tk::app().runEvent([this] { main.show(); });
  EXPECT_EQ(main.spectrumBoost, 150);
  EXPECT_EQ(main.Label4.caption(), "200%") << "design text again";
}

}  // namespace
