// The host window's beat panel: the design's beat pattern and beat source,
// its lamp, and the operator's hands.
#include <QTest>

#include "tests/desktop/host_window_fixture.h"
#include "tests/support/steady_grid.h"

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

// The flash box takes what shows take (1..2000 ms); its arrows go by tens.
TEST_F(BeatPanelTest, TheFlashBoxHoldsWhatShowsHold) {
  BeatPanel panel(*session);
  StepSpinBox& box = panel.flash();
  EXPECT_EQ(box.minimum(), kMinFlashMs);
  EXPECT_EQ(box.maximum(), kMaxFlashMs);
  HostDesign design = session->hostDesign();
  design.beatPattern = {BeatPattern::Mode::Flash, 3, {6}};
  session->setHostDesign(design);
  EXPECT_EQ(box.text(), "3 ms") << "a show's beats flash 3 6";
  type(box, "7");
  EXPECT_EQ(session->hostDesign().beatPattern.flashMs, 7) << "typed as a show writes it";
  box.stepBy(1);
  EXPECT_EQ(box.value(), 10);
  box.setValue(10);
  box.stepBy(-1);
  EXPECT_EQ(box.value(), kMinFlashMs);
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
        return true;
      },
      [this] { return loop_->nowMs() * 1000; });
  BeatPanel panel(*session, std::move(clock));
  EXPECT_EQ(panel.tempo().text(), "120.0 BPM, locked");
  EXPECT_FALSE(panel.lamp().lit());
  QTRY_VERIFY_WITH_TIMEOUT(panel.lamp().lit(), 1000);
  EXPECT_GE(loop_->nowMs(), firstMs);
}

}  // namespace

namespace {

// What the panel's hands asked of the bridge.
struct Asked {
  static inline std::vector<std::int64_t> taps;
  static inline std::int64_t nudgedUs = 0;
  static inline int halves = 0;
  static inline int held = 0;
};

vantorhost::BeatByHand recordingHands() {
  Asked::taps.clear();
  Asked::nudgedUs = 0;
  Asked::halves = 0;
  Asked::held = 0;
  return vantorhost::BeatByHand({[](std::int64_t at) {
                                   Asked::taps.push_back(at);
                                   return static_cast<std::int32_t>(Asked::taps.size());
                                 },
                                 [](std::int64_t us) { Asked::nudgedUs += us; }, [] { ++Asked::halves; },
                                 [](std::int32_t on) { Asked::held = on; }, [] { return Asked::held; },
                                 [] { return std::int64_t{42}; }});
}

// A tracker that hears nothing, at the bridge's time 0.
TrackerClock quietClock() {
  return TrackerClock(
      [](vbvis_tracker_state& s, std::int64_t) {
        s = {};
        return true;
      },
      [] { return std::int64_t{0}; });
}

}  // namespace

// A key held down repeats, and a tap must not.
TEST_F(BeatPanelTest, TheOperatorsHandsReachTheBridgeByButtonAndKey) {
  BeatPanel panel(*session, quietClock(), recordingHands());
  panel.show();
  QVERIFY(QTest::qWaitForWindowActive(&panel));
  panel.tap().click();
  QTest::keyClick(&panel, Qt::Key_T);
  QTest::keyEvent(QTest::Press, &panel, Qt::Key_T, Qt::NoModifier, -1);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_T, Qt::NoModifier, "t", true);
  QApplication::sendEvent(&panel, &repeat);
  QTest::keyEvent(QTest::Release, &panel, Qt::Key_T);
  EXPECT_EQ(Asked::taps, (std::vector<std::int64_t>{42, 42, 42})) << "a click, a key, a key held down";
  panel.half().click();
  QTest::keyClick(&panel, Qt::Key_H);
  EXPECT_EQ(Asked::halves, 2);
  panel.earlier().click();
  panel.earlier().click();
  QTest::keyClick(&panel, Qt::Key_BracketRight);
  EXPECT_EQ(Asked::nudgedUs, -10'000);
  panel.hold().click();
  EXPECT_EQ(Asked::held, 1);
  EXPECT_EQ(panel.tempo().text(), "held: no beat");
  panel.hold().click();
  EXPECT_EQ(Asked::held, 0);
  EXPECT_EQ(panel.tempo().text(), "searching");
}

TEST_F(BeatPanelTest, TheHandsAreOffWhileTheBeatFollowsALinkSessionAndALedSessionHearsOfThem) {
  support::SteadyGrid grid;
  vbvis_tracker_state tracker{120, 90, 1, 500'000, {1'000'000, 1'500'000, 2'000'000, 2'500'000}};
  BeatSource beats(grid, [&tracker](vbvis_tracker_state& s) { s = tracker; });
  BeatPanel panel(*session, quietClock(), recordingHands(), &beats);
  panel.show();
  QVERIFY(QTest::qWaitForWindowActive(&panel));
  const auto readAs = [&](BeatSourceChoice choice) {
    beats.choose(choice);
    vbvis_tracker_state s{};
    beats.read(s, 0);
    panel.refresh();
  };

  readAs(BeatSourceChoice::Link);
  for (QPushButton* hand : {&panel.tap(), &panel.half(), &panel.earlier(), &panel.later(), &panel.hold()})
    EXPECT_FALSE(hand->isEnabled()) << hand->text().toStdString();
  EXPECT_TRUE(panel.tap().toolTip().contains("Link session"));
  QTest::keyClick(&panel, Qt::Key_T);
  EXPECT_TRUE(Asked::taps.empty()) << "the key is off with its button";

  readAs(BeatSourceChoice::Lead);
  EXPECT_TRUE(panel.tap().isEnabled());
  EXPECT_FALSE(panel.tap().toolTip().contains("Link session"));
  QTest::keyClick(&panel, Qt::Key_T);
  EXPECT_EQ(Asked::taps.size(), 1u);
  readAs(BeatSourceChoice::Lead);
  ASSERT_EQ(grid.led.size(), 2u);
  EXPECT_FALSE(grid.led[0].byHand);
  EXPECT_TRUE(grid.led[1].byHand) << "the session takes the tapped beat as it is";
}
