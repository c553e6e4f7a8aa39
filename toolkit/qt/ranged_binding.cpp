// Sliders and scroll bars. A scroll bar whose Min is larger than its Max
// runs upside down: Min at the top, so pushing the thumb up raises the value.
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>

#include "toolkit/qt/binding_factories.h"
#include "toolkit/ranged_control.h"

namespace tk::qt {

namespace {

QAbstractSlider* makeWidget(const Control& c, QWidget* parent) {
  if (c.kind() == ControlKind::VScrollBar) return new QScrollBar(Qt::Vertical, parent);
  const Geometry& g = c.geometry();
  return new QSlider(g.width >= g.height ? Qt::Horizontal : Qt::Vertical, parent);
}

class RangedBinding : public ControlBinding {
 public:
  RangedBinding(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& dispatch)
      : ControlBinding(c, makeWidget(c, parent), s) {
    // The toolkit's sliders and scroll bars take the focus and the keys.
    slider()->setFocusPolicy(Qt::StrongFocus);
    auto& model = static_cast<RangedControl&>(c);
    QObject::connect(slider(), &QAbstractSlider::valueChanged,
                     [&model, dispatch](int v) { dispatch([&model, v] { model.userSetValue(v); }); });
  }

 protected:
  void syncOwn() override {
    const auto& model = static_cast<const RangedControl&>(control());
    QAbstractSlider* s = slider();
    const QSignalBlocker quiet(s);
    // The plug-in touches some of these every tick without changing them
    // (a scroll bar's Min set twice); Qt repaints on some setters even when
    // the value stays, so only what differs is handed on.
    const bool upsideDown = model.min() > model.max();
    if (s->invertedAppearance() != upsideDown) s->setInvertedAppearance(upsideDown);
    if (control().kind() == ControlKind::VScrollBar) {
      // A scroll bar's keys and wheel follow its thumb: up moves it up.
      if (s->invertedControls() == upsideDown) s->setInvertedControls(!upsideDown);
    } else {
      auto* bar = static_cast<QSlider*>(s);
      const auto ticks = model.tickFrequency() > 0 ? QSlider::TicksBelow : QSlider::NoTicks;
      if (bar->tickInterval() != model.tickFrequency()) bar->setTickInterval(model.tickFrequency());
      if (bar->tickPosition() != ticks) bar->setTickPosition(ticks);
    }
    s->setRange(model.low(), model.high());
    s->setSingleStep(model.smallChange());
    s->setPageStep(model.largeChange());
    s->setValue(model.value());
  }
  void applyColors() override {}

 private:
  QAbstractSlider* slider() const { return static_cast<QAbstractSlider*>(widget()); }
};

}  // namespace

BindingPtr bindRanged(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d) {
  return std::make_unique<RangedBinding>(c, parent, s, d);
}

}  // namespace tk::qt
