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
  EXPECT_EQ(boxesOf(tk::kPalette0).size(), 100u);
}

TEST_F(MainTick, BoostLabelShowsThePreviousTicksBoost) {
  main.Slider1.setValue(150);
  tick();
  EXPECT_EQ(main.Label4.caption(), "0%");
  EXPECT_EQ(main.spectrumBoost, 100) << "box unticked: 100 whatever the slider";
  tick();
  EXPECT_EQ(main.Label4.caption(), "100%");
  main.Check1.setValue(1);
  tick();
  EXPECT_EQ(main.Label4.caption(), "100%");
  tick();
  EXPECT_EQ(main.Label4.caption(), "150%");
}

TEST_F(MainTick, AllSlotsInUseKeepTheLastBarCount) {
  for (int s = 0; s < 5; ++s) bar(s, 1, 1, 100, 1);
  tick();
  EXPECT_EQ(main.VScroll4.min(), 5);
  for (int s = 0; s < Arrays::kBarSlots; ++s) bar(s, 1, 1, 100, 1);
  tick();
  EXPECT_EQ(main.barCount, 5);
  EXPECT_EQ(boxesOf(tk::kPalette4).size(), 288u) << "all 288 are still evaluated";
}

TEST_F(MainTick, MarkerLinesFollowTheirThresholds) {
  main.VScroll6.setValue(255);
  main.VScroll3.setValue(1);
  main.VScroll2.setValue(128);
  main.Slider2.setValue(100);
  tick();
  EXPECT_EQ(main.Line4.points().y1, 300);
  EXPECT_EQ(main.Line2.points().y1, static_cast<float>(3840 - (1 / 255.0) * 3135));
  EXPECT_EQ(main.Line1.points().y2, static_cast<float>(3840 - (128 / 255.0) * 3135));
  EXPECT_EQ(main.Line5.points().y1, static_cast<float>(1560 - (100 / 255.0) * 1320));
}

TEST_F(MainTick, WatchedPixelMarkIsDrawnWithTheDetectorOff) {
  main.VScroll1.setValue(3);
  tick();
  const auto marks = boxesOf(tk::kPalette6);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].x1, 411.5f);
  EXPECT_EQ(marks[0].x2, 412.5f);
  EXPECT_EQ(marks[0].y1, 1500);
  EXPECT_EQ(marks[0].y2, 250);
}

TEST_F(MainTick, SwitchedOffDetectorsAreResetEveryTick) {
  main.beatVuState = main.beatPixelState = main.beatBarState = 1;
  main.Frame1.setBackColor(tk::kRed);
  main.LEDMeter2.show(40);
  main.Check3.setValue(2);  // greyed counts as off
  tick();
  EXPECT_EQ(main.beatVuState + main.beatPixelState + main.beatBarState, 0);
  EXPECT_EQ(main.Frame1.backColor(), tk::kButtonFace);
  EXPECT_FALSE(main.LEDMeter2.level().has_value());
  EXPECT_FALSE(main.Option1[0].enabled());
  main.Check2.setValue(1);
  tick();
  EXPECT_TRUE(main.Option1[1].enabled());
}

TEST_F(MainTick, FormVariablesSurviveClosingAndControlsStartFromDesign) {
  main.Check1.setValue(1);
  main.Slider1.setValue(150);
  tick();
  tk::app().runEvent([this] { main.discard(); });
  tk::app().runEvent([this] { main.show(); });
  EXPECT_EQ(main.spectrumBoost, 150);
  EXPECT_EQ(main.Label4.caption(), "200%") << "design text again";
  EXPECT_EQ(main.Timer1.interval(), 75);
}

}  // namespace
