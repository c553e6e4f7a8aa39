// Sonvero's windows through the Qt backend, as a user meets them.
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
#include <QWindow>

#include "bridge/vbvis.h"
#include "model/arrays.h"
#include "tests/support/qt_fixture.h"
#include "toolkit/qt/level_meter_widget.h"
#include "ui/Kanaele.h"
#include "ui/Main.h"
#include "ui/bar_list.h"

namespace {

class MainWindowTest : public support::QtFixture {
 protected:
  void SetUp() override {
    support::QtFixture::SetUp();
    Arrays::resetAll();
    show(main);
  }
  void tick() { tk::app().runEvent([this] { main.Timer1_Timer(); }); }
  tk::Form& channelDialog() {
    QTest::mouseClick(widgetAs<QLabel>(main.Label5), Qt::LeftButton);
    tk::Form* dialog = formCaptioned(Kanaele::kCaption);
    EXPECT_NE(dialog, nullptr) << "the label's click opens the channel dialog";
    return *dialog;
  }
  Main& main = mainForm();
};

}  // namespace

TEST_F(MainWindowTest, ClicksGoThroughTheModelsRules) {
  auto* box = widgetAs<QCheckBox>(main.Check5);
  tk::app().runEvent([&] { main.Check5.setValue(2); });
  EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(main.Check5.value(), 1);
  EXPECT_EQ(box->checkState(), Qt::Checked);
  auto* off = widgetAs<QRadioButton>(main.Option1[3]);
  QTest::mouseClick(off, Qt::LeftButton);
  QTest::mouseClick(off, Qt::LeftButton);
  EXPECT_TRUE(off->isChecked());
  tick();  // Beat: VU is off: its button is disabled
  QTest::mouseClick(widgetAs<QRadioButton>(main.Option1[0]), Qt::LeftButton);
  EXPECT_FALSE(main.Option1[0].value());
  EXPECT_TRUE(main.Option1[3].value());
}

// Up raises an upside-down scroll bar and its top end is the larger value.
TEST_F(MainWindowTest, KeysDragsAndCodeMoveRangedControls) {
  auto* slider = widgetAs<QSlider>(main.Slider2);
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_End);
  EXPECT_EQ(main.Slider2.value(), 255);
  tk::app().runEvent([&] { main.Slider2.setValue(100); });
  EXPECT_EQ(slider->value(), 100);
  auto* bar = widgetAs<QScrollBar>(main.VScroll6);
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_Up);
  EXPECT_EQ(main.VScroll6.value(), 2);
  dragThumb(bar, -100);
  EXPECT_EQ(main.VScroll6.value(), 255);
  dragThumb(bar, bar->height() + 100);
  EXPECT_EQ(main.VScroll6.value(), 1);
  dragThumb(widgetAs<QScrollBar>(main.VScroll1), -100);
  EXPECT_EQ(main.VScroll1.value(), 288);
}

// Typed text counts as an entry only when it is one; Enter adds nothing.
TEST_F(MainWindowTest, ComboBoxTakesPicksAndTypedText) {
  auto& dialog = static_cast<Kanaele&>(channelDialog());
  auto* combo = widgetAs<QComboBox>(dialog.Combo1);
  QTest::keyClicks(combo->lineEdit(), "7");  // appended to "1": "17" is an entry
  EXPECT_EQ(dialog.Combo1.listIndex(), 16);
  combo->lineEdit()->selectAll();
  QTest::keyClicks(combo->lineEdit(), "abc");
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(combo->count(), 1024);
  EXPECT_EQ(dialog.Combo1.text(), "abc");
  EXPECT_EQ(dialog.Combo1.listIndex(), -1);
  emit combo->activated(4);
  EXPECT_EQ(dialog.Combo1.listIndex(), 4);
  EXPECT_EQ(combo->lineEdit()->text(), "5");
}

TEST_F(MainWindowTest, ListRowsAndTheSelectionFollowTheModel) {
  for (int slot = 0; slot < 3; ++slot) Arrays::bars[slot] = {static_cast<std::int16_t>(slot + 1), 1, 2, 0, 100, 1, 0, 1};
  tk::app().runEvent([&] { rebuildBarList(main.ListView1); });
  auto* tree = widgetAs<QTreeWidget>(main.ListView1);
  ASSERT_EQ(tree->topLevelItemCount(), 3);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->topLevelItem(1)).center());
  EXPECT_EQ(main.ListView1.selectedRow(), 2);
  EXPECT_TRUE(tree->topLevelItem(1)->isSelected());
}

TEST_F(MainWindowTest, EnterAndEscapePressTheDefaultAndCancelButton) {
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    QTest::mouseClick(widgetAs<QPushButton>(main.Command4), Qt::LeftButton);
    tk::Form* about = formCaptioned("Info zu Sonvero");
    ASSERT_NE(about, nullptr);
    QTest::keyClick(window(*about), key);
    settle();
    EXPECT_EQ(formCaptioned("Info zu Sonvero"), nullptr) << key;
  }
}

// "Schließen" unloads the dialog inside its own click.
TEST_F(MainWindowTest, ADialogClosedByItsOwnButtonIsGone) {
  auto& dialog = static_cast<Kanaele&>(channelDialog());
  QTest::mouseClick(widgetAs<QPushButton>(dialog.Command3), Qt::LeftButton);
  settle();
  EXPECT_EQ(formCaptioned(Kanaele::kCaption), nullptr);
}

TEST_F(MainWindowTest, WhatATickChangesReachesTheWidgets) {
  vbvis_open("script");
  vbvis_script_vu(16000, 16000);
  tk::app().runEvent([&] {
    main.Check3.setValue(1);
    main.VScroll6.setValue(255);
  });
  tick();
  EXPECT_EQ(widgetAs<tk::qt::LevelMeterWidget>(main.LEDMeter1)->level(), std::optional<std::int16_t>(100));
  EXPECT_EQ(widget(main.Frame1)->palette().color(QPalette::Window), QColor(Qt::red));
  EXPECT_EQ(widget(main.Line4)->geometry().top(), 20) << "the VU threshold's marker at the top";
  EXPECT_EQ(widgetAs<QLabel>(main.Label6)->text(), "1");
  // A colour is applied whenever it changes, not only the first time.
  vbvis_script_vu(0, 0);
  tick();
  EXPECT_EQ(widget(main.Frame1)->palette().color(QPalette::Window), QPalette().color(QPalette::Button));
  vbvis_close();
}

// Each tick sets the beat bar's range again unchanged: no repaint for that.
TEST_F(MainWindowTest, ATickThatChangesNoControlRepaintsNone) {
  support::EventCounter paints(QEvent::Paint);
  tick();
  settle();
  widget(main.VScroll4)->installEventFilter(&paints);
  for (int i = 0; i < 3; ++i) tick();
  settle();
  EXPECT_EQ(paints.count(), 0);
}

// Transient for the main window: no task-bar entry.
TEST_F(MainWindowTest, DialogsOpenCentredOverTheMainWindowInADialogFrame) {
  window(main)->move(40, 30);
  QTest::mouseClick(widgetAs<QPushButton>(main.Command4), Qt::LeftButton);
  QTest::mouseClick(widgetAs<QPushButton>(main.Command1), Qt::LeftButton);
  QTest::mouseClick(widgetAs<QPushButton>(main.Command1), Qt::LeftButton);
  channelDialog();
  int barDialogs = 0;
  for (tk::Form* f : tk::app().forms()) barDialogs += f->caption() == "Balken definieren" && window(*f) && window(*f)->isVisible();
  EXPECT_EQ(barDialogs, 2);
  const QPoint centre = window(main)->frameGeometry().center();
  for (const char* caption : {"Info zu Sonvero", "Balken definieren", Kanaele::kCaption}) {
    const tk::Form* dialog = formCaptioned(caption);
    ASSERT_NE(dialog, nullptr) << caption;
    const QWidget* w = window(*dialog);
    EXPECT_EQ(w->windowType(), Qt::Dialog) << caption;
    EXPECT_FALSE(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) << caption;
    EXPECT_EQ(w->windowHandle()->transientParent(), window(main)->windowHandle()) << caption;
    EXPECT_LE((w->frameGeometry().center() - centre).manhattanLength(), 2) << caption;
  }
  EXPECT_EQ(window(main)->windowType(), Qt::Window);
}
