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

TEST_F(BarEvaluation, GreyedMuteStillWatchesButSendsNothing) {
  heights(1, {1250});
  bar(0, 1, 1, 100, 1);
  list(Arrays::barChannels[0], {1});
  main.Check9.setValue(2);
  evaluate();
  EXPECT_TRUE(sent->channels.empty());
  EXPECT_EQ(main.beatBarLevel, 255);
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

}  // namespace
