// Controls that only show something: text boxes the engine writes, frames,
// shapes, lines, pictures and level meters.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include "toolkit/level_meter.h"
#include "toolkit/line.h"
#include "toolkit/qt/binding_factories.h"
#include "toolkit/qt/level_meter_widget.h"
#include "toolkit/qt/ole_color.h"
#include "toolkit/qt/resource_path.h"
#include "toolkit/simple_controls.h"

namespace tk::qt {

namespace {

// Outlines and lines lie over the form; clicks go through them.
class OverlayWidget : public QWidget {
 public:
  explicit OverlayWidget(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }
  QColor color;
};

class ShapeWidget : public OverlayWidget {
 public:
  using OverlayWidget::OverlayWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(QPen(color, 0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
};

class LineWidget : public OverlayWidget {
 public:
  using OverlayWidget::OverlayWidget;
  QPoint from, to;  // in the widget's own pixels

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(QPen(color, 0));
    p.drawLine(from, to);
  }
};

class TextBoxBinding : public ControlBinding {
 public:
  TextBoxBinding(Control& c, QWidget* parent, const TwipScale& s) : ControlBinding(c, new QLineEdit(parent), s) {
    // The engine writes these boxes on every tick.
    edit()->setReadOnly(true);
  }

 protected:
  void syncOwn() override {
    const QString text = QString::fromStdString(static_cast<TextBox&>(control()).text());
    if (edit()->text() != text) edit()->setText(text);
  }
  void applyColors() override {
    QPalette palette = edit()->palette();
    const QPalette standard;
    if (control().backColor() != kButtonFace) palette.setColor(QPalette::Base, toQColor(control().backColor(), standard));
    palette.setColor(QPalette::Text, toQColor(control().foreColor(), standard));
    edit()->setPalette(palette);
  }

 private:
  QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
};

class FrameBinding : public ControlBinding {
 public:
  FrameBinding(Control& c, QWidget* parent, const TwipScale& s) : ControlBinding(c, new QGroupBox(parent), s) {}

 protected:
  void syncOwn() override { static_cast<QGroupBox*>(widget())->setTitle(QString::fromStdString(control().caption())); }
};

class ShapeBinding : public ControlBinding {
 public:
  ShapeBinding(Control& c, QWidget* parent, const TwipScale& s) : ControlBinding(c, new ShapeWidget(parent), s) {}

 protected:
  void syncOwn() override { widget()->update(); }
  // The fill lies under the form's drawing (painted by the form); the
  // widget draws only the outline.
  void applyColors() override { static_cast<ShapeWidget*>(widget())->color = toQColor(control().foreColor(), QPalette()); }
};

class LineBinding : public ControlBinding {
 public:
  LineBinding(Control& c, QWidget* parent, const TwipScale& s) : ControlBinding(c, new LineWidget(parent), s) {}

 protected:
  QRect placement() const override {
    const LineState& p = line().points();
    return scale().box(p.x1, p.y1, p.x2, p.y2);
  }
  void syncOwn() override {
    const LineState& p = line().points();
    auto* w = static_cast<LineWidget*>(widget());
    const QPoint origin = placement().topLeft();
    w->from = QPoint(scale().pixel(p.x1), scale().pixel(p.y1)) - origin;
    w->to = QPoint(scale().pixel(p.x2), scale().pixel(p.y2)) - origin;
    w->color = toQColor(p.borderColor, QPalette());
    w->raise();
    w->update();
  }
  void applyColors() override {}

 private:
  const Line& line() const { return static_cast<const Line&>(control()); }
};

class PictureBinding : public ControlBinding {
 public:
  PictureBinding(Control& c, QWidget* parent, const TwipScale& s) : ControlBinding(c, new QLabel(parent), s) {
    auto* label = static_cast<QLabel*>(widget());
    label->setAlignment(Qt::AlignCenter);
    const QString path = findResource(static_cast<PictureBox&>(c).resource());
    if (!path.isEmpty()) pixmap_.load(path);
  }

 protected:
  void syncOwn() override {
    auto* label = static_cast<QLabel*>(widget());
    if (!pixmap_.isNull())
      label->setPixmap(pixmap_.scaled(placement().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  }

 private:
  QPixmap pixmap_;
};

class LevelMeterBinding : public ControlBinding {
 public:
  LevelMeterBinding(Control& c, QWidget* parent, const TwipScale& s)
      : ControlBinding(c, new LevelMeterWidget(parent), s) {}

 protected:
  void syncOwn() override {
    static_cast<LevelMeterWidget*>(widget())->setLevel(static_cast<LevelMeter&>(control()).level());
  }
  void applyColors() override {}
};

}  // namespace

BindingPtr bindTextBox(Control& c, QWidget* parent, const TwipScale& s) {
  return std::make_unique<TextBoxBinding>(c, parent, s);
}
BindingPtr bindFrame(Control& c, QWidget* parent, const TwipScale& s) {
  return std::make_unique<FrameBinding>(c, parent, s);
}
BindingPtr bindShape(Control& c, QWidget* parent, const TwipScale& s) {
  return std::make_unique<ShapeBinding>(c, parent, s);
}
BindingPtr bindLine(Control& c, QWidget* parent, const TwipScale& s) {
  return std::make_unique<LineBinding>(c, parent, s);
}
BindingPtr bindPicture(Control& c, QWidget* parent, const TwipScale& s) {
  return std::make_unique<PictureBinding>(c, parent, s);
}
BindingPtr bindLevelMeter(Control& c, QWidget* parent, const TwipScale& s) {
  return std::make_unique<LevelMeterBinding>(c, parent, s);
}

}  // namespace tk::qt
