// The host window's beat panel: the design's beat pattern and beat source,
// and its lamp.
#include <QTest>

#include "tests/desktop/host_window_fixture.h"

namespace {

using BeatPanelTest = PluginSessionTest;

TEST_F(BeatPanelTest, WhatIsChosenBecomesTheDesignsBeatPatternAndAShowSetsThePanel) {
  BeatPanel panel(*session);
  EXPECT_EQ(panel.mode().currentText(), "Off");
  panel.channels().setText("6, 7");
  emit panel.channels().editingFinished();
  panel.flash().setValue(120);
  panel.mode().setCurrentIndex(2);
  EXPECT_EQ(session->hostDesign().beatPattern, (BeatPattern{BeatPattern::Mode::Chase, 120, {6, 7}}));
  EXPECT_EQ(panel.source().currentText(), "Tracker");
  panel.source().setCurrentIndex(2);
  EXPECT_EQ(session->hostDesign().beatSource, BeatSourceChoice::Lead);

  // Not a list of channels: the design keeps its list and the box says so.
  panel.channels().setText("6 1025");
  emit panel.channels().editingFinished();
  EXPECT_EQ(session->hostDesign().beatPattern.channels, (std::vector<std::int16_t>{6, 7}));
  EXPECT_FALSE(panel.channels().styleSheet().isEmpty());

  HostDesign design = session->hostDesign();
  design.beatPattern = {BeatPattern::Mode::Flash, 60, {10}};
  design.beatSource = BeatSourceChoice::Link;
  session->setHostDesign(design);
  EXPECT_EQ(panel.mode().currentText(), "Flash");
  EXPECT_EQ(panel.source().currentText(), "Link");
  EXPECT_EQ(panel.channels().text(), "10");
  EXPECT_EQ(panel.flash().value(), 60);
  EXPECT_TRUE(panel.channels().styleSheet().isEmpty());
}

TEST_F(BeatPanelTest, AListOfChannelsIsWholeNumbersFromOneTo1024) {
  EXPECT_EQ(BeatPanel::channelsFrom(" 1 2,3 ,1024 "), (std::vector<std::int16_t>{1, 2, 3, 1024}));
  EXPECT_EQ(BeatPanel::channelsFrom(""), std::vector<std::int16_t>{});
  for (const char* bad : {"0", "1025", "x", "1.5", "0x10", "-3"}) EXPECT_FALSE(BeatPanel::channelsFrom(bad)) << bad;
}

TEST_F(BeatPanelTest, TheLampLightsOnTheTrackersBeatAndTheTempoSaysItIsLocked) {
  // A tracker locked at 120 BPM whose next beat is heard 50 ms from now.
  const std::int64_t firstMs = loop_->nowMs() + 50;
  TrackerClock clock(
      [firstMs](vbvis_tracker_state& s, std::int64_t) {
        s = {};
        s.locked = 1;
        s.bpm = 120;
        s.period_us = 500'000;
        for (int k = 0; k < 4; ++k) s.next_beats_us[k] = (firstMs + 500 * k) * 1000;
      },
      [this] { return loop_->nowMs() * 1000; });
  BeatPanel panel(*session, std::move(clock));
  EXPECT_EQ(panel.tempo().text(), "120.0 BPM, locked");
  EXPECT_FALSE(panel.lamp().lit());
  QTRY_VERIFY_WITH_TIMEOUT(panel.lamp().lit(), 1000);
  EXPECT_GE(loop_->nowMs(), firstMs);
}

}  // namespace
