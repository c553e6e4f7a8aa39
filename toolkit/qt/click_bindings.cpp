// Buttons, check boxes, option buttons and labels: the user's click goes to
// the model, which decides the new state; the widget only shows it.
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include "toolkit/check_box.h"
#include "toolkit/option_button.h"
#include "toolkit/qt/binding_factories.h"
#include "toolkit/simple_controls.h"

namespace tk::qt {

namespace {

QString text(const Control& c) { return QString::fromStdString(c.caption()); }

// A check box or option button that leaves its state to the model and,
// as the toolkit's controls do, takes a click anywhere on its area.
template <class Button>
class ModelStateButton : public Button {
 public:
  using Button::Button;

 protected:
  void nextCheckState() override {}
  bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

class CommandButtonBinding : public ControlBinding {
 public:
  CommandButtonBinding(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& dispatch)
      : ControlBinding(c, new QPushButton(parent), s) {
    auto& model = static_cast<CommandButton&>(c);
    QObject::connect(button(), &QPushButton::clicked, [&model, dispatch] { dispatch([&model] { model.userClick(); }); });
  }

 protected:
  void syncOwn() override { button()->setText(text(control())); }
  void applyColors() override {}

 private:
  QPushButton* button() const { return static_cast<QPushButton*>(widget()); }
};

class CheckBoxBinding : public ControlBinding {
 public:
  CheckBoxBinding(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& dispatch)
      : ControlBinding(c, new ModelStateButton<QCheckBox>(parent), s) {
    box()->setTristate(true);
    auto& model = static_cast<CheckBox&>(c);
    QObject::connect(box(), &QCheckBox::clicked, [&model, dispatch] { dispatch([&model] { model.userClick(); }); });
  }

 protected:
  void syncOwn() override {
    const auto value = static_cast<CheckBox&>(control()).value();
    box()->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    box()->setText(text(control()));
  }

 private:
  QCheckBox* box() const { return static_cast<QCheckBox*>(widget()); }
};

class OptionButtonBinding : public ControlBinding {
 public:
  OptionButtonBinding(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& dispatch)
      : ControlBinding(c, new ModelStateButton<QRadioButton>(parent), s) {
    // The model keeps the group exclusive, across the whole container.
    radio()->setAutoExclusive(false);
    auto& model = static_cast<OptionButton&>(c);
    QObject::connect(radio(), &QRadioButton::clicked, [&model, dispatch] { dispatch([&model] { model.userClick(); }); });
  }

 protected:
  void syncOwn() override {
    radio()->setChecked(static_cast<OptionButton&>(control()).value());
    radio()->setText(text(control()));
  }

 private:
  QRadioButton* radio() const { return static_cast<QRadioButton*>(widget()); }
};

// A label that reports a click (press and release inside it).
class ClickableLabel : public QLabel {
 public:
  ClickableLabel(QWidget* parent, std::function<void()> onClick) : QLabel(parent), onClick_(std::move(onClick)) {}

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) onClick_();
  }

 private:
  std::function<void()> onClick_;
};

class LabelBinding : public ControlBinding {
 public:
  LabelBinding(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& dispatch)
      : ControlBinding(c, makeLabel(static_cast<Label&>(c), parent, dispatch), s) {}

 protected:
  void syncOwn() override {
    auto* label = static_cast<QLabel*>(widget());
    label->setWordWrap(static_cast<Label&>(control()).wordWrap);
    label->setText(text(control()));
  }

 private:
  static QLabel* makeLabel(Label& model, QWidget* parent, const Dispatch& dispatch) {
    auto* label = new ClickableLabel(parent, [&model, dispatch] { dispatch([&model] { model.userClick(); }); });
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Labels with a click handler open something: show it.
    if (model.onClick) label->setCursor(Qt::PointingHandCursor);
    return label;
  }
};

}  // namespace

BindingPtr bindCommandButton(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d) {
  return std::make_unique<CommandButtonBinding>(c, parent, s, d);
}
BindingPtr bindCheckBox(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d) {
  return std::make_unique<CheckBoxBinding>(c, parent, s, d);
}
BindingPtr bindOptionButton(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d) {
  return std::make_unique<OptionButtonBinding>(c, parent, s, d);
}
BindingPtr bindLabel(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d) {
  return std::make_unique<LabelBinding>(c, parent, s, d);
}

}  // namespace tk::qt
