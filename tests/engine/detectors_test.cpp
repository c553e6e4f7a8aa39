#include "tests/engine/engine_fixture.h"

namespace {

class Detectors : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    main.Check5.setValue(1);
  }
  int lastValueOf(int channel) const {
    for (auto it = sent->channels.rbegin(); it != sent->channels.rend(); ++it)
      if (it->first == channel) return it->second;
    return -1;
  }
};

TEST_F(Detectors, VuSetOnExceed) {
  main.VScroll7.setValue(200);
  main.Check7.setValue(1);
  main.Check8.setValue(0);
  Arrays::outputChannels[Arrays::kVuLeft][1] = 1;
  vbvis_script_vu(16000, 0);
  tick();
  EXPECT_EQ(lastValueOf(1), 200);
  EXPECT_EQ(main.LEDMeter4.level(), std::optional<std::int16_t>(78));
}

TEST_F(Detectors, VuThreshold255NeverSwitchesOn) {
  main.Check8.setValue(0);
  main.VScroll6.setValue(255);
  Arrays::outputChannels[Arrays::kVuLeft][1] = 1;
  vbvis_script_vu(16000, 16000);
  tick();
  EXPECT_EQ(lastValueOf(1), 0);
}

TEST_F(Detectors, BeatAnalyzerBeyondTheReportedBinsReadsZero) {
  main.Check2.setValue(1);
  main.VScroll1.setValue(200);
  spectrum("ffff");
  tick();
  EXPECT_EQ(main.LEDMeter2.level(), std::optional<std::int16_t>(0));
}

TEST_F(Detectors, BeatBalkenAtTheTopThresholdNeverFires) {
  main.Check4.setValue(1);
  main.Option1[2].setValue(true);
  main.beatBarThreshold = 255;
  main.beatBarLevel = 255;
  main.SetBeats();
  EXPECT_EQ(main.beatBarState, 0);
  EXPECT_EQ(main.LEDMeter3.level(), std::optional<std::int16_t>(100));
  main.beatBarThreshold = 254;
  main.SetBeats();
  EXPECT_EQ(main.beatBarState, 1);
}

TEST_F(Detectors, AStateAlreadyHighAtTheFirstTickSendsNothing) {
  main.Check3.setValue(1);
  vbvis_script_vu(16000, 16000);
  tick();
  EXPECT_EQ(main.beatVuState, 1);
  EXPECT_EQ(sent->beats, 0);
}

}  // namespace
