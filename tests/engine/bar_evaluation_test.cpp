#include "tests/engine/engine_fixture.h"

namespace {

class BarEvaluation : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Arrays::dmxOutputActive = 1;
    main.Check9.setValue(0);
    main.spectrumThreshold = 1;
    main.spectrumSetValue = 1;
  }
  void evaluate() {
    main.Cls();
    sent->channels.clear();
    main.EvaluateBars();
  }
  void heights(int firstPixel, std::initializer_list<int> hs) {
    int p = firstPixel;
    for (int h : hs) main.pixelHeights[static_cast<std::size_t>(p++ - 1)] = h;
  }
};

TEST_F(BarEvaluation, AverageJustBelowAHalfRoundsDown) {
  heights(10, {1250, 0, 625});
  bar(0, 10, 12, 100, 100);
  list(Arrays::barChannels[0], {5, 7, 0, 9});
  evaluate();
  EXPECT_EQ(sent->channels, (std::vector<std::pair<int, int>>{{5, 127}, {7, 127}}));
  ASSERT_EQ(main.drawing().size(), 3u);
  const tk::DrawBox& filled = main.drawing()[0];
  EXPECT_EQ(filled.x1, 750);
  EXPECT_EQ(filled.y1, 1500);
  EXPECT_EQ(filled.x2, 875);
  EXPECT_EQ(filled.y2, 1500 - 623) << "127 x (1250 / 255) = 622.55 rounds to 623";
  EXPECT_EQ(filled.color, tk::kPalette10) << "slot 0 is the bar Beat: Balken watches";
  EXPECT_EQ(main.beatBarLevel, 127);
  const tk::DrawBox& outline = main.drawing()[1];
  EXPECT_FALSE(outline.filled);
  EXPECT_EQ(outline.color, tk::kPalette0);
  const tk::DrawBox& mark = main.drawing()[2];
  EXPECT_EQ(mark.color, tk::kPalette4);
  EXPECT_FLOAT_EQ(mark.y1, 1010.8039f);
  EXPECT_FLOAT_EQ(mark.y2, 1009.8039f);
}

TEST_F(BarEvaluation, FullBandIsWidenedTo32BitsAndBoostClampsAt255) {
  for (auto& h : main.pixelHeights) h = 1250;
  bar(0, 1, 288, 200, 1);
  list(Arrays::barChannels[0], {1});
  evaluate();
  EXPECT_EQ(sent->channels, (std::vector<std::pair<int, int>>{{1, 255}})) << "a 16-bit sum would overflow";
  EXPECT_EQ(main.drawing()[0].y2, 250);
}

TEST_F(BarEvaluation, ValuesEqualToAThresholdSwitchOff) {
  heights(1, {625});  // 127.49999999999999 on the channel scale: 127
  bar(0, 1, 1, 100, 127);
  list(Arrays::barChannels[0], {3});
  evaluate();
  EXPECT_EQ(sent->channels.back().second, 0) << "equal to the bar threshold";
  bar(0, 1, 1, 100, 126);
  main.spectrumThreshold = 127;
  evaluate();
  EXPECT_EQ(sent->channels.back().second, 0) << "equal to the global threshold";
  main.spectrumThreshold = 126;
  evaluate();
  EXPECT_EQ(sent->channels.back().second, 127);
  EXPECT_EQ(main.drawing()[0].y2, 1500 - 623);
}

TEST_F(BarEvaluation, SetOnExceedGlobalThenPerBar) {
  heights(1, {300});
  bar(0, 1, 1, 100, 100, 1, 255);
  list(Arrays::barChannels[0], {3});
  main.Check6.setValue(1);
  main.spectrumSetValue = 200;
  evaluate();
  EXPECT_EQ(sent->channels.back().second, 255) << "61 -> 200 by the global switch, then 255 by the bar's";
  EXPECT_EQ(main.drawing()[0].y2, 250);
  bar(0, 1, 1, 100, 200, 1, 255);
  evaluate();
  EXPECT_EQ(sent->channels.back().second, 0) << "200 is not above the bar threshold 200";
  EXPECT_EQ(main.drawing()[0].y2, 1500) << "drawn flat";
}

TEST_F(BarEvaluation, BandsAreClippedToPixels1To288) {
  heights(1, {1250, 0});
  main.pixelHeights[287] = 1250;
  bar(0, 0, 2, 100, 1);      // pixel 0 does not exist: pixels 1..2
  bar(1, 288, 300, 100, 1);  // pixel 288 only
  bar(2, 300, 310, 100, 1);  // nothing left: skipped
  bar(3, 5, 3, 100, 1);      // empty band: skipped
  bar(4, -5, -1, 100, 1);
  for (int s = 0; s < 5; ++s) list(Arrays::barChannels[s], {s + 1});
  evaluate();
  EXPECT_EQ(sent->channels, (std::vector<std::pair<int, int>>{{1, 127}, {2, 255}}));
  ASSERT_EQ(main.drawing().size(), 6u);
  EXPECT_EQ(main.drawing()[0].x1, 300);
  EXPECT_EQ(main.drawing()[3].x2, 250 + 50 * 288 + 25);
}

TEST_F(BarEvaluation, MuteDrawsAndWatchesButSendsNothing) {
  heights(1, {1250});
  bar(0, 1, 1, 100, 1);
  list(Arrays::barChannels[0], {1});
  main.Check9.setValue(1);
  evaluate();
  EXPECT_TRUE(sent->channels.empty());
  EXPECT_EQ(main.beatBarLevel, 255);
  main.Check9.setValue(2);
  evaluate();
  EXPECT_TRUE(sent->channels.empty()) << "greyed counts as muted";
}

TEST_F(BarEvaluation, BeatBarLevelHoldsWhileTheWatchedBarIsNotEvaluated) {
  heights(1, {1250, 0});
  bar(0, 1, 1, 100, 1);
  evaluate();
  EXPECT_EQ(main.beatBarLevel, 255);
  main.VScroll4.setMin(5);
  main.VScroll4.setValue(5);
  bar(0, 2, 2, 100, 1);
  evaluate();
  EXPECT_EQ(main.beatBarLevel, 255);
}

TEST_F(BarEvaluation, NoBarNoDrawing) {
  Arrays::bars[0].number = 5;  // not its own number: no bar
  evaluate();
  EXPECT_TRUE(main.drawing().empty());
  EXPECT_TRUE(sent->channels.empty());
}

}  // namespace
