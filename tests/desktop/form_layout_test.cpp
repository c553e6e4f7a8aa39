// The forms as described: no control hides another, and every caption is
// seen whole in the font the desktop uses.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include "tests/support/qt_fixture.h"
#include "ui/Kanaele.h"
#include "ui/Main.h"
#include "ui/Presets_Channel.h"
#include "ui/frmAbout.h"

namespace {

using tk::ControlKind;

// A control's place on its form in twips: containers add their offsets.
QRect onForm(const tk::Control& c) {
  QRect r(c.geometry().left, c.geometry().top, c.geometry().width, c.geometry().height);
  for (const tk::Control* in = c.container(); in; in = in->container()) r.translate(in->geometry().left, in->geometry().top);
  return r;
}

bool inside(const tk::Control& c, const tk::Control& container) {
  for (const tk::Control* in = c.container(); in; in = in->container())
    if (in == &container) return true;
  return false;
}

bool isGround(const tk::Control& c) { return c.kind() == ControlKind::Frame || c.kind() == ControlKind::Shape; }

// Where one control is meant to stand on another: in its container, on a
// frame or shape, and two places the forms were drawn so.
bool meantToOverlap(const tk::Control& a, const tk::Control& b) {
  if (inside(a, b) || inside(b, a)) return true;
  if (isGround(a) != isGround(b)) return true;
  const auto on = [](const tk::Control& x, const tk::Control& y) {
    const std::string& form = x.form().name();
    return (form == "Presets_Channel" && x.name() == "Label10" && y.kind() == ControlKind::ComboBox) ||
           (form == "frmAbout" && x.name() == "picIcon" && (y.name() == "lblTitle" || y.name() == "lblVersion"));
  };
  return on(a, b) || on(b, a);
}

std::vector<std::string> overlaps(const tk::Form& form) {
  std::vector<std::string> found;
  const auto& controls = form.controls();
  for (std::size_t i = 0; i < controls.size(); ++i)
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const tk::Control &a = *controls[i], &b = *controls[j];
      if (a.kind() == ControlKind::Line || b.kind() == ControlKind::Line || a.kind() == ControlKind::Timer ||
          b.kind() == ControlKind::Timer || meantToOverlap(a, b))
        continue;
      if (onForm(a).intersects(onForm(b))) found.push_back(a.displayName() + " and " + b.displayName());
    }
  return found;
}

using FormLayoutTest = support::QtFixture;

}  // namespace

// The room a widget gives its caption beside its box, frame or indicator.
int captionRoom(QWidget* w) {
  QStyleOptionButton option;
  option.initFrom(w);
  if (qobject_cast<QCheckBox*>(w)) return w->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, w).width();
  if (qobject_cast<QRadioButton*>(w))
    return w->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, w).width();
  if (qobject_cast<QPushButton*>(w)) return w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, w).width();
  if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap()) return label->contentsRect().width();
  return -1;
}

// The title of a group box in the form window's pixels.
QRect titleIn(QGroupBox* group, QWidget* window) {
  QStyleOptionGroupBox option;
  option.initFrom(group);
  option.text = group->title();
  option.subControls = QStyle::SC_GroupBoxLabel;
  const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
  return {group->mapTo(window, title.topLeft()), title.size()};
}

TEST_F(FormLayoutTest, NoControlHidesAnotherAndEveryCaptionIsSeenWhole) {
  using Open = tk::Form& (*)();
  for (Open open : {+[]() -> tk::Form& { return mainForm(); }, +[]() -> tk::Form& { return tk::app().create<Presets_Channel>(); },
                    +[]() -> tk::Form& { return tk::app().create<Kanaele>(); },
                    +[]() -> tk::Form& { return tk::app().create<frmAbout>(); }}) {
    tk::Form* form = &open();
    EXPECT_EQ(overlaps(*form), std::vector<std::string>{}) << form->name();
    show(*form);
    // The title whole in a window manager's title bar ("Balken …finieren" at 216 px).
    EXPECT_GE(window(*form)->width(), tk::qt::FormWindow::titleBarWidth(QString::fromStdString(form->caption())))
        << form->caption();
    for (tk::Control* c : form->controls()) {
      QWidget* w = widget(*c);
      if (!w || c->caption().empty()) continue;
      if (const int room = captionRoom(w); room >= 0) {
        EXPECT_LE(w->fontMetrics().horizontalAdvance(QString::fromStdString(c->caption())), room)
            << c->displayName() << " \"" << c->caption() << "\"";
      }
      auto* group = qobject_cast<QGroupBox*>(w);
      if (!group) continue;
      const QRect title = titleIn(group, window(*form));
      for (tk::Control* other : form->controls()) {
        QWidget* o = widget(*other);
        if (!o || o == w || other->kind() == ControlKind::Line || other->kind() == ControlKind::Frame) continue;
        EXPECT_FALSE(QRect(o->mapTo(window(*form), QPoint(0, 0)), o->size()).intersects(title))
            << other->displayName() << " on the title of " << c->displayName();
      }
    }
  }
}
