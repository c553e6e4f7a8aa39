#include <gtest/gtest.h>

#include "toolkit/application.h"
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/format.h"
#include "toolkit/form.h"
#include "toolkit/list_view.h"
#include "toolkit/option_button.h"
#include "toolkit/ranged_control.h"
#include "toolkit/simple_controls.h"
#include "toolkit/simulated_loop.h"
#include "toolkit/timer.h"

namespace {

// A small form with one of each control that has rules of its own.
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
  tk::CheckBox Check{*this, "Check"};
  tk::ComboBox Combo{*this, "Combo"};
  tk::ListView List{*this, "List"};
  tk::Timer Fast{*this, "Fast", {50, true}};
  tk::Timer Slow{*this, "Slow", {100, true}};
  int loads = 0, fastTicks = 0, slowTicks = 0, cancelClose = 0;
  std::vector<std::string> order;

 protected:
  void Form_Load() override {
    ++loads;
    setCaption("Loaded");
  }
  void Form_QueryUnload(int& cancel, tk::UnloadMode) override { cancel = cancelClose; }
};

class Toolkit : public ::testing::Test {
 protected:
  void SetUp() override { tk::app().setLoop(&loop); }
  void TearDown() override {
    tk::app().discardAll();
    tk::app().setLoop(nullptr);
  }
  tk::SimulatedLoop loop;
};

TEST_F(Toolkit, UpsideDownScrollBarKeepsItsValueInsideTheRange) {
  TestForm f;
  f.Scroll.setValue(300);
  EXPECT_EQ(f.Scroll.value(), 255) << "Min is the top and the larger end";
  f.Scroll.setValue(0);
  EXPECT_EQ(f.Scroll.value(), 1);
  f.Scroll.setValue(150);
  f.Scroll.setMin(100);
  EXPECT_EQ(f.Scroll.value(), 100) << "narrowing the range pulls the value along";
  f.Scroll.setMin(0);
  f.Scroll.setMax(0);
  EXPECT_EQ(f.Scroll.value(), 0);
}

TEST_F(Toolkit, DisabledControlsIgnoreTheUserButNotCode) {
  TestForm f;
  f.Slide.setEnabled(false);
  f.Slide.userSetValue(5);
  EXPECT_EQ(f.Slide.value(), 100);
  f.Slide.setValue(5);
  EXPECT_EQ(f.Slide.value(), 5);
  f.Option1.setEnabled(false);
  f.Option1.userClick();
  EXPECT_FALSE(f.Option1.value());
  f.Option1.setValue(true);
  EXPECT_TRUE(f.Option1.value());
}

TEST_F(Toolkit, OptionButtonsExcludeEachOtherOnlyWithinTheirContainer) {
  TestForm f;
  f.Boxed.setContainer(&f.Box);
  f.Boxed.setValue(true);
  f.Option1.userClick();
  EXPECT_TRUE(f.Option1.value());
  EXPECT_FALSE(f.Option0.value());
  EXPECT_TRUE(f.Boxed.value()) << "a button in another frame is another group";
}

TEST_F(Toolkit, CheckBoxClickTogglesAndGreyedBecomesTicked) {
  TestForm f;
  int clicks = 0;
  f.Check.onClick = [&] { ++clicks; };
  f.Check.userClick();
  EXPECT_EQ(f.Check.value(), 1);
  f.Check.userClick();
  EXPECT_EQ(f.Check.value(), 0);
  EXPECT_TRUE(f.Check.setValue(2));
  f.Check.userClick();
  EXPECT_EQ(f.Check.value(), 1);
  EXPECT_EQ(clicks, 3);
  EXPECT_FALSE(f.Check.setValue(3));
  EXPECT_FALSE(f.Check.setValue(-1));
}

TEST_F(Toolkit, ComboTypedTextCountsAsAnEntryOnlyWhenItIsOneExactly) {
  TestForm f;
  for (const char* item : {"1", "2", "288"}) f.Combo.addItem(item);
  f.Combo.userType("288");
  EXPECT_EQ(f.Combo.listIndex(), 2);
  f.Combo.userType("28");
  EXPECT_EQ(f.Combo.listIndex(), -1);
  f.Combo.userType(" 2");
  EXPECT_EQ(f.Combo.listIndex(), -1);
  EXPECT_EQ(f.Combo.text(), " 2");
  EXPECT_TRUE(f.Combo.setListIndex(1));
  EXPECT_EQ(f.Combo.text(), "2");
  EXPECT_FALSE(f.Combo.setListIndex(3));
}

TEST_F(Toolkit, ListViewRemovalMovesRowsUpAndKeepsTheSelectionHonest) {
  TestForm f;
  for (const char* r : {"a", "b", "c"}) f.List.addRow({r, "x"});
  f.List.select(3);
  f.List.removeRow(1);
  EXPECT_EQ(f.List.selectedRow(), 2) << "the selected row moved up with its text";
  EXPECT_EQ(*f.List.property("Rows"), "[b,x; c,x]");
  f.List.removeRow(2);
  EXPECT_EQ(f.List.selectedRow(), 0);
  EXPECT_FALSE(f.List.select(5));
}

TEST_F(Toolkit, LoadingRestoresDesignValuesAndRunsFormLoadOnce) {
  TestForm f;
  f.load();
  f.Slide.setValue(7);
  f.List.addRow({"row"});
  f.load();  // already loaded: nothing happens
  EXPECT_EQ(f.loads, 1);
  EXPECT_EQ(f.caption(), "Loaded");
  ASSERT_TRUE(f.unload());
  f.load();
  EXPECT_EQ(f.loads, 2);
  EXPECT_EQ(f.Slide.value(), 100);
  EXPECT_EQ(f.List.rowCount(), 0);
  EXPECT_TRUE(f.Option0.value());
}

TEST_F(Toolkit, LoadedFormsOldestFirstAndCancelledCloseStaysOpen) {
  TestForm a("A"), b("B");
  a.show();
  b.show();
  ASSERT_EQ(tk::app().forms().size(), 2u);
  EXPECT_EQ(tk::app().forms()[0], &a);
  b.cancelClose = 1;
  EXPECT_FALSE(b.unload(tk::UnloadMode::CloseBox));
  EXPECT_TRUE(b.loaded());
  EXPECT_TRUE(a.unload());
  ASSERT_EQ(tk::app().forms().size(), 1u);
  EXPECT_EQ(tk::app().forms()[0], &b);
}

TEST_F(Toolkit, OwnedFormsAreDeletedAfterTheEventThatUnloadedThem) {
  tk::Form* dialog = nullptr;
  tk::app().runEvent([&] {
    dialog = &tk::app().create<TestForm>("Dialog");
    dialog->show();
  });
  EXPECT_TRUE(dialog->loaded());
  tk::app().runEvent([&] { dialog->unload(); });
  EXPECT_TRUE(tk::app().forms().empty());
}

TEST_F(Toolkit, TimersFireInTimeOrderAndTiesInStartOrder) {
  TestForm f;
  f.Fast.onTimer = [&] { f.order.push_back("fast@" + std::to_string(loop.nowMs())); };
  f.Slow.onTimer = [&] { f.order.push_back("slow@" + std::to_string(loop.nowMs())); };
  f.load();  // Fast starts before Slow
  loop.advance(200);
  EXPECT_EQ(f.order, (std::vector<std::string>{"fast@50", "fast@100", "slow@100", "fast@150", "fast@200",
                                                "slow@200"}));
  EXPECT_EQ(loop.nowMs(), 200);
  f.order.clear();
  f.Fast.setInterval(50);  // restarting puts Fast behind Slow at equal times
  loop.advance(100);
  EXPECT_EQ(f.order, (std::vector<std::string>{"fast@250", "slow@300", "fast@300"}));
}

TEST_F(Toolkit, TimersStopWithTheirFormAndWhenDisabled) {
  TestForm f;
  int n = 0;
  f.Fast.onTimer = [&] { ++n; };
  loop.advance(100);
  EXPECT_EQ(n, 0) << "an unloaded form's timers do not run";
  f.load();
  loop.advance(100);
  EXPECT_EQ(n, 2);
  f.Fast.setTimerEnabled(false);
  loop.advance(100);
  EXPECT_EQ(n, 2);
  f.Fast.setTimerEnabled(true);
  f.unload();
  loop.advance(100);
  EXPECT_EQ(n, 2);
}

TEST_F(Toolkit, ATimerHandlerThatUnloadsItsFormEndsItsEvents) {
  TestForm f;
  int n = 0;
  f.Fast.onTimer = [&] {
    ++n;
    f.unload();
  };
  f.load();
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
  EXPECT_EQ(coordinate(-0.0f), "0");
  EXPECT_EQ(coordinate(1009.80396f), "1009.8");
  EXPECT_EQ(coordinate(622.5f), "622.5");
  EXPECT_EQ(tk::fmt::quoted("a\"b"), "\"a\\\"b\"");
}

}  // namespace
