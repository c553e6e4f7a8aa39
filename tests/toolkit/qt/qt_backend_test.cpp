// The Qt backend where Sonvero's own windows (tests/desktop) never take it:
// a close the form refuses, a stall of the event loop (the headless loop:
// tests/host/real_time_loop_test.cpp), and the LED meter's arithmetic.
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>

#include "tests/support/qt_fixture.h"
#include "tests/support/stalled_timer.h"
#include "toolkit/check_box.h"
#include "toolkit/qt/level_meter_widget.h"

namespace {

class SampleForm : public tk::Form {
 public:
  SampleForm() : tk::Form("Sample", "Probe", 6000, 4500) {
    Check1.setGeometry({120, 120, 1500, 255});
    finishDesign();
  }
  tk::CheckBox Check1{*this, "Check1", "An"};
  int queryUnloads = 0;
  bool refuseClose = false;

 protected:
  void Form_QueryUnload(int& cancel, tk::UnloadMode) override {
    ++queryUnloads;
    cancel = refuseClose ? 1 : 0;
  }
};

using FormWindowTest = support::QtFixture;
using QtEventLoop = support::QtFixture;

TEST_F(FormWindowTest, ARefusedCloseKeepsTheWindowAndAReopenedFormGetsAFreshOne) {
  SampleForm form;
  show(form);
  form.refuseClose = true;
  window(form)->close();
  EXPECT_TRUE(form.loaded());
  ASSERT_NE(window(form), nullptr);
  form.refuseClose = false;
  window(form)->close();
  EXPECT_EQ(form.queryUnloads, 2);
  EXPECT_EQ(window(form), nullptr);
  settle();
  show(form);
  EXPECT_NE(widgetAs<QCheckBox>(form.Check1), nullptr);
}

// After a stall (the process stopped, the machine swapping) a timer fires
// once and goes on at its own pace, never making up the events it missed.
TEST_F(QtEventLoop, AfterAStallATimerFiresOnceAndNotTheEventsItMissed) {
  support::StalledTimerForm form;
  show(form);
  QElapsedTimer running;
  running.start();
  while (form.fired.size() < 20 && running.elapsed() < 10'000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  ASSERT_GE(form.fired.size(), 20u);
  EXPECT_LE(form.eventsOnTopOfEachOther(), 1) << "events fired back to back after the stall";
}

TEST(LevelMeterWidget, LitSegmentsFollowTheLevelRoundedToEvenAndClamped) {
  const struct {
    std::optional<std::int16_t> level;
    int segments, lit;
  } cases[] = {{std::nullopt, 20, 0}, {50, 20, 10}, {25, 10, 2} /* 2.5 */, {35, 10, 4} /* 3.5 */,
               {32767, 20, 20},       {-32768, 20, 0}, {101, 1, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(tk::qt::LevelMeterWidget::litSegments(c.level, c.segments), c.lit) << c.level.value_or(-1) << "/" << c.segments;
}

}  // namespace
