// The toolkit's rules that the session scripts cannot reach (the rest: every
// golden script, through Main and the dialogs).
#include <gtest/gtest.h>

#include "toolkit/application.h"
#include "toolkit/format.h"
#include "toolkit/form.h"
#include "toolkit/option_button.h"
#include "toolkit/ranged_control.h"
#include "toolkit/simple_controls.h"
#include "toolkit/simulated_loop.h"
#include "toolkit/timer.h"

namespace {

class TestForm : public tk::Form {
 public:
  explicit TestForm(std::string name = "TestForm") : tk::Form(std::move(name), "Design", 3000, 2000) {
    Option0.setValue(true);
    finishDesign();
  }
  tk::VScrollBar Scroll{*this, "Scroll", {.value = 1, .min = 255, .max = 1, .smallChange = 1, .largeChange = 10}};
  tk::Slider Slide{*this, "Slide", {.value = 100, .min = 1, .max = 200}};
  tk::OptionButton Option0{*this, "Option", 0};
  tk::OptionButton Option1{*this, "Option", 1};
  tk::Frame Box{*this, "Box"};
  tk::OptionButton Boxed{*this, "Boxed", 0};
  tk::Timer Fast{*this, "Fast", {50, true}};
  tk::Timer Slow{*this, "Slow", {100, true}};
};

class Toolkit : public ::testing::Test {
 protected:
  void SetUp() override { tk::app().setLoop(&loop); }
  void TearDown() override {
    tk::app().discardAll();
    tk::app().setLoop(nullptr);
  }
  tk::SimulatedLoop loop;
  TestForm f;
};

// Min is the top and the larger end; code may move a disabled control, the user may not.
TEST_F(Toolkit, RangedControlsKeepTheirValueInsideTheRange) {
  f.Scroll.setValue(300);
  EXPECT_EQ(f.Scroll.value(), 255);
  f.Scroll.setValue(150);
  f.Scroll.setMin(100);
  EXPECT_EQ(f.Scroll.value(), 100) << "narrowing the range pulls the value along";
  f.Slide.setEnabled(false);
  f.Slide.userSetValue(5);
  EXPECT_EQ(f.Slide.value(), 100);
  f.Slide.setValue(5);
  EXPECT_EQ(f.Slide.value(), 5);
}

TEST_F(Toolkit, OptionButtonsExcludeEachOtherOnlyWithinTheirContainer) {
  f.Boxed.setContainer(&f.Box);
  f.Boxed.setValue(true);
  f.Option1.setEnabled(false);
  f.Option1.userClick();
  EXPECT_FALSE(f.Option1.value()) << "disabled";
  f.Option1.setEnabled(true);
  f.Option1.userClick();
  EXPECT_FALSE(f.Option0.value());
  EXPECT_TRUE(f.Boxed.value()) << "a button in another frame is another group";
}

TEST_F(Toolkit, TimersFireInTimeOrderAndTiesInStartOrder) {
  std::vector<std::string> order;
  f.Fast.onTimer = [&] { order.push_back("fast@" + std::to_string(loop.nowMs())); };
  f.Slow.onTimer = [&] { order.push_back("slow@" + std::to_string(loop.nowMs())); };
  f.load();  // Fast starts before Slow
  loop.advance(100);
  EXPECT_EQ(order, (std::vector<std::string>{"fast@50", "fast@100", "slow@100"}));
  order.clear();
  f.Fast.setInterval(50);  // restarting puts Fast behind Slow at equal times
  loop.advance(100);
  EXPECT_EQ(order, (std::vector<std::string>{"fast@150", "slow@200", "fast@200"}));
}

TEST_F(Toolkit, TimersRunOnlyWhileTheirFormIsLoadedAndEnabled) {
  int n = 0;
  f.Fast.onTimer = [&] { ++n; };
  loop.advance(100);
  EXPECT_EQ(n, 0);
  f.load();
  f.Fast.setTimerEnabled(false);
  loop.advance(100);
  EXPECT_EQ(n, 0);
  f.Fast.setTimerEnabled(true);
  f.Fast.onTimer = [&] {
    ++n;
    f.unload();  // ends its own events
  };
  loop.advance(500);
  EXPECT_EQ(n, 1);
}

TEST(TraceFormat, CoordinatesHaveTwoDecimalsTiesToEvenAndNoNegativeZero) {
  using tk::fmt::coordinate;
  EXPECT_EQ(coordinate(1010.8039f), "1010.8");
  EXPECT_EQ(coordinate(250.0f), "250");
  EXPECT_EQ(coordinate(0.125f), "0.12");
  EXPECT_EQ(coordinate(0.375f), "0.38");
  EXPECT_EQ(coordinate(-0.001f), "0");
  EXPECT_EQ(tk::fmt::quoted("a\"b"), "\"a\\\"b\"");
}

}  // namespace
