// The generic renderer on a form of its own: widgets at their twip places,
// models in step after each event, user input through the models' rules.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>

#include "tests/support/qt_fixture.h"
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/control_array.h"
#include "toolkit/level_meter.h"
#include "toolkit/line.h"
#include "toolkit/list_view.h"
#include "toolkit/option_button.h"
#include "toolkit/qt/level_meter_widget.h"
#include "toolkit/ranged_control.h"
#include "toolkit/simple_controls.h"

namespace {

class SampleForm : public tk::Form {
 public:
  SampleForm() : tk::Form("Sample", "Probe", 6000, 4500) {
    Frame1.setGeometry({3000, 120, 2800, 2000});
    Check1.setGeometry({120, 120, 1500, 255});
    Options.add(*this, "Option1", 0, "A", true).setGeometry({120, 480, 900, 255});
    Options.add(*this, "Option1", 1, "B").setGeometry({120, 780, 900, 255});
    Options.add(*this, "Option1", 2, "C", true).setGeometry({120, 240, 900, 255});
    Options[2].setContainer(&Frame1);
    Slider1.setGeometry({120, 1200, 2400, 315});
    VScroll1.setGeometry({120, 1680, 255, 2400});
    Combo1.setGeometry({600, 1680, 1200, 315});
    List1.setGeometry({600, 2160, 2200, 1500});
    Meter1.setGeometry({240, 600, 375, 1200});
    Meter1.setContainer(&Frame1);
    Line1.setContainer(&Frame1);
    Label1.setGeometry({3000, 2400, 900, 255});
    OK.setGeometry({3000, 3900, 1200, 375});
    Cancel.setGeometry({4500, 3900, 1200, 375});
    OK.isDefault = true;
    Cancel.isCancel = true;
    OK.onClick = [this] { ++okClicks; };
    Cancel.onClick = [this] { unload(); };
    Label1.onClick = [this] { ++labelClicks; };
    finishDesign();
  }
  int okClicks = 0, labelClicks = 0, queryUnloads = 0;
  bool refuseClose = false;

  tk::Frame Frame1{*this, "Frame1", "Gruppe"};
  tk::CheckBox Check1{*this, "Check1", "An"};
  tk::ControlArray<tk::OptionButton> Options;
  tk::Slider Slider1{*this, "Slider1", {.value = 1, .min = 1, .max = 255, .smallChange = 1, .largeChange = 5}};
  tk::VScrollBar VScroll1{*this, "VScroll1", {.value = 1, .min = 255, .max = 1, .smallChange = 1, .largeChange = 10}};
  tk::ComboBox Combo1{*this, "Combo1"};
  tk::ListView List1{*this, "List1"};
  tk::LevelMeter Meter1{*this, "Meter1"};
  tk::Line Line1{*this, "Line1", {60, 900, 1020, 900, tk::kGreen}};
  tk::Label Label1{*this, "Label1", "ch"};
  tk::CommandButton OK{*this, "OK", "OK"};
  tk::CommandButton Cancel{*this, "Cancel", "Abbrechen"};

 protected:
  void Form_Load() override {
    for (int i = 1; i <= 20; ++i) Combo1.addItem(std::to_string(i));
    Combo1.setListIndex(0);
    List1.addColumn("Kan\xC3\xA4le", 1000);
    List1.setReportView(true);
    for (const char* c : {"5", "7", "9"}) List1.addRow({c});
  }
  void Form_QueryUnload(int& cancel, tk::UnloadMode) override {
    ++queryUnloads;
    cancel = refuseClose ? 1 : 0;
  }
};

class FormWindowTest : public support::QtFixture {
 protected:
  void SetUp() override {
    support::QtFixture::SetUp();
    show(form);
  }
  SampleForm form;
};

}  // namespace

TEST_F(FormWindowTest, WidgetsStandAtTheirTwipPlaces) {
  ASSERT_NE(window(form), nullptr);
  EXPECT_EQ(window(form)->size(), QSize(400, 300));
  EXPECT_EQ(widget(form.Check1)->geometry(), QRect(8, 8, 100, 17));
  // Inside a frame, places count from the frame.
  EXPECT_EQ(widget(form.Options[2])->parentWidget(), widget(form.Frame1));
  EXPECT_EQ(widget(form.Meter1)->geometry(), QRect(16, 40, 25, 80));
  EXPECT_EQ(widget(form.Line1)->geometry(), QRect(4, 60, 65, 1));
}

TEST_F(FormWindowTest, CheckBoxClickGoesThroughTheModel) {
  auto* box = widgetAs<QCheckBox>(form.Check1);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(form.Check1.value(), 1);
  // A greyed box (2) that the user clicks becomes ticked, as the model says.
  tk::app().runEvent([&] { form.Check1.setValue(2); });
  EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(form.Check1.value(), 1);
  EXPECT_EQ(box->checkState(), Qt::Checked);
}

TEST_F(FormWindowTest, OptionButtonsExcludeEachOtherPerContainer) {
  QTest::mouseClick(widgetAs<QRadioButton>(form.Options[1]), Qt::LeftButton);
  EXPECT_TRUE(form.Options[1].value());
  EXPECT_FALSE(form.Options[0].value());
  EXPECT_TRUE(form.Options[2].value());  // the one in the frame is a group of its own
  // Clicking the selected button again keeps it selected.
  QTest::mouseClick(widgetAs<QRadioButton>(form.Options[1]), Qt::LeftButton);
  EXPECT_TRUE(widgetAs<QRadioButton>(form.Options[1])->isChecked());
  // Labels take clicks too.
  QTest::mouseClick(widgetAs<QLabel>(form.Label1), Qt::LeftButton);
  EXPECT_EQ(form.labelClicks, 1);
}

TEST_F(FormWindowTest, SliderEndKeyAndCodeMoves) {
  auto* slider = widgetAs<QSlider>(form.Slider1);
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_End);
  EXPECT_EQ(form.Slider1.value(), 255);
  // Code moving the value moves the thumb without calling the handler again.
  int changes = 0;
  form.Slider1.onChange = [&] { ++changes; };
  tk::app().runEvent([&] { form.Slider1.setValue(100); });
  EXPECT_EQ(slider->value(), 100);
  EXPECT_EQ(changes, 0);
}

TEST_F(FormWindowTest, UpKeyOnAnUpsideDownScrollBarRaisesTheValue) {
  // Dragging is in MainWindowTest.ScrollBarsTopEndGivesTheLargerValue.
  auto* bar = widgetAs<QScrollBar>(form.VScroll1);
  tk::app().runEvent([&] { form.VScroll1.setValue(10); });
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_Up);
  EXPECT_EQ(form.VScroll1.value(), 11);
  QTest::keyClick(bar, Qt::Key_Down);
  QTest::keyClick(bar, Qt::Key_Down);
  EXPECT_EQ(form.VScroll1.value(), 9);
}

TEST_F(FormWindowTest, ComboBoxTakesPicksAndTypedText) {
  auto* combo = widgetAs<QComboBox>(form.Combo1);
  EXPECT_EQ(combo->count(), 20);
  EXPECT_EQ(combo->currentText(), "1");
  QTest::keyClicks(combo->lineEdit(), "7");  // appended to "1": "17" is an entry
  EXPECT_EQ(form.Combo1.text(), "17");
  EXPECT_EQ(form.Combo1.listIndex(), 16);
  combo->lineEdit()->selectAll();
  QTest::keyClicks(combo->lineEdit(), "abc");
  EXPECT_EQ(form.Combo1.text(), "abc");
  EXPECT_EQ(form.Combo1.listIndex(), -1);
  // Enter neither adds the typed text to the list nor changes the model.
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(combo->count(), 20);
  EXPECT_EQ(form.Combo1.text(), "abc");
  emit combo->activated(4);
  EXPECT_EQ(form.Combo1.listIndex(), 4);
  EXPECT_EQ(combo->lineEdit()->text(), "5");
}

TEST_F(FormWindowTest, ListViewRowsAndSelectionFollowTheModel) {
  auto* tree = widgetAs<QTreeWidget>(form.List1);
  ASSERT_EQ(tree->topLevelItemCount(), 3);
  EXPECT_EQ(tree->headerItem()->text(0), "Kan\xC3\xA4le");
  EXPECT_EQ(tree->columnWidth(0), 67);
  const QRect second = tree->visualItemRect(tree->topLevelItem(1));
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, second.center());
  EXPECT_EQ(form.List1.selectedRow(), 2);
  tk::app().runEvent([&] { form.List1.removeRow(1); });
  EXPECT_EQ(tree->topLevelItemCount(), 2);
  EXPECT_EQ(form.List1.selectedRow(), 1);
  EXPECT_TRUE(tree->topLevelItem(0)->isSelected());
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "7");
  // Rows wider than the columns are shown, not dropped.
  tk::app().runEvent([&] { form.List1.addRow({"1", "2", "3"}); });
  EXPECT_EQ(tree->topLevelItem(2)->text(0), "1");
  tk::app().runEvent([&] { form.List1.clearRows(); });
  EXPECT_EQ(tree->topLevelItemCount(), 0);
  EXPECT_TRUE(tree->selectedItems().isEmpty());
}

TEST_F(FormWindowTest, EnterAndEscapePressDefaultAndCancelButtons) {
  QTest::keyClick(window(form), Qt::Key_Return);
  EXPECT_EQ(form.okClicks, 1);
  QTest::keyClick(widgetAs<QComboBox>(form.Combo1)->lineEdit(), Qt::Key_Enter);
  EXPECT_EQ(form.okClicks, 2);
  QTest::keyClick(window(form), Qt::Key_Escape);
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(window(form), nullptr);
}

TEST_F(FormWindowTest, CloseBoxAsksQueryUnload) {
  form.refuseClose = true;
  window(form)->close();
  EXPECT_EQ(form.queryUnloads, 1);
  EXPECT_TRUE(form.loaded());
  ASSERT_NE(window(form), nullptr);
  form.refuseClose = false;
  window(form)->close();
  EXPECT_EQ(form.queryUnloads, 2);
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(window(form), nullptr);
  settle();
  // Shown again, the form gets a fresh window with its design values.
  show(form);
  ASSERT_NE(window(form), nullptr);
  EXPECT_EQ(widgetAs<QComboBox>(form.Combo1)->count(), 20);
}

TEST_F(FormWindowTest, FormThatUnloadsInsideItsOwnClickIsTakenDownSafely) {
  auto& dialog = tk::app().create<SampleForm>();
  show(dialog);
  QTest::mouseClick(widgetAs<QPushButton>(dialog.Cancel), Qt::LeftButton);  // unloads; the collection deletes it
  settle();
  EXPECT_EQ(tk::app().forms().size(), 1u);
  EXPECT_TRUE(form.loaded());
}

TEST_F(FormWindowTest, ModelChangesReachTheWidgetsAfterTheEvent) {
  tk::app().runEvent([&] {
    form.Meter1.show(40);
    form.Line1.setY(1500);
    form.Frame1.setBackColor(tk::kRed);
    form.Label1.setCaption("neu");
    form.setCaption("Anders");
  });
  EXPECT_EQ(widgetAs<tk::qt::LevelMeterWidget>(form.Meter1)->level(), std::optional<std::int16_t>(40));
  EXPECT_EQ(widget(form.Line1)->geometry().top(), 100);
  EXPECT_EQ(widget(form.Frame1)->palette().color(QPalette::Window), QColor(Qt::red));
  EXPECT_EQ(widgetAs<QLabel>(form.Label1)->text(), "neu");
  EXPECT_EQ(window(form)->windowTitle(), "Anders");
  tk::app().runEvent([&] { form.Meter1.clear(); });
  EXPECT_EQ(widgetAs<tk::qt::LevelMeterWidget>(form.Meter1)->level(), std::nullopt);
}

TEST_F(FormWindowTest, ContainersThatLeadNowhereFallBackToTheForm) {
  SampleForm odd;
  odd.Frame1.setContainer(&odd.Frame1);          // holds itself
  odd.Check1.setContainer(&form.Frame1);         // a frame of another form
  tk::Frame inner{odd, "Inner"};
  inner.setContainer(&odd.Frame1);
  for (tk::Control* c : std::initializer_list<tk::Control*>{&odd.Frame1, &odd.Check1, &inner})
    c->saveDesign();  // containers are part of the design
  show(odd);
  ASSERT_NE(window(odd), nullptr);
  EXPECT_EQ(widget(odd.Frame1)->parentWidget(), window(odd));
  EXPECT_EQ(widget(odd.Check1)->parentWidget(), window(odd));
  EXPECT_EQ(widget(inner)->parentWidget(), widget(odd.Frame1));
}
