// Main's tick on its controls: what the end-to-end scripts cannot see or
// do not reach (the table full, greyed switches, state kept across ticks).
#include <algorithm>

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

TEST_F(MainTick, AllSlotsInUseKeepTheLastBarCountAndAreAllEvaluated) {
  for (int s = 0; s < 5; ++s) bar(s);
  tick();
  EXPECT_EQ(main.VScroll4.min(), 5);
  for (int s = 0; s < Arrays::kBarSlots; ++s) bar(s);
  tick();
  EXPECT_EQ(main.barCount, 5);
  EXPECT_EQ(std::count_if(main.drawing().begin(), main.drawing().end(),
                          [](const tk::DrawBox& b) { return b.color == tk::kPalette4; }),
            288);
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

TEST_F(MainTick, TheWatchedBarsLevelHoldsWhileThatBarIsNotEvaluated) {
  bar(0, 1, 1);
  spectrum("ff00");
  tick();
  EXPECT_EQ(main.beatBarLevel, 255);
  bar(1, 2, 2);
  event([this] { main.VScroll4.setValue(2); });
  bar(1, 300, 300);  // nothing left of it to evaluate
  tick();
  EXPECT_EQ(main.beatBarLevel, 255);
}

TEST_F(MainTick, BeatAnalyzerBeyondTheReportedBinsReadsZero) {
  main.Check2.setValue(1);
  main.VScroll1.setValue(200);
  spectrum("ffff");
  tick();
  EXPECT_EQ(main.LEDMeter2.level(), std::optional<std::int16_t>(0));
}

TEST_F(MainTick, FormVariablesSurviveClosingAndControlsStartFromDesign) {
  main.Check1.setValue(1);
  main.Slider1.setValue(150);
  tick();
  event([this] { main.discard(); });
  event([this] { main.show(); });
  EXPECT_EQ(main.spectrumBoost, 150);
  EXPECT_EQ(main.Label4.caption(), "200%") << "design text again";
}

}  // namespace
