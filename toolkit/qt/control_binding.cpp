#include "toolkit/qt/control_binding.h"

#include <QString>

#include "toolkit/qt/binding_factories.h"
#include "toolkit/qt/ole_color.h"

namespace tk::qt {

ControlBinding::ControlBinding(Control& control, QWidget* widget, const TwipScale& scale)
    : control_(control), widget_(widget), scale_(scale) {
  widget_->setObjectName(QString::fromStdString(control.displayName()));
}

void ControlBinding::sync() {
  if (control_.revision() == seen_) return;
  seen_ = control_.revision();
  const QRect where = placement();
  if (widget_->geometry() != where) widget_->setGeometry(where);
  widget_->setEnabled(control_.enabled());
  widget_->setVisible(control_.visible());
  // A palette is rebuilt only when a colour moved: most changes are values.
  const std::pair colors{control_.backColor(), control_.foreColor()};
  if (!colorsApplied_ || colors != *colorsApplied_) {
    colorsApplied_ = colors;
    applyColors();
  }
  syncOwn();
}

QRect ControlBinding::placement() const { return scale_.rect(control_.geometry()); }

void ControlBinding::applyColors() {
  QPalette palette = widget_->palette();
  const QPalette standard;
  palette.setColor(QPalette::Window, toQColor(control_.backColor(), standard));
  palette.setColor(QPalette::WindowText, toQColor(control_.foreColor(), standard));
  widget_->setPalette(palette);
  widget_->setAutoFillBackground(true);
}

std::unique_ptr<ControlBinding> bindControl(Control& control, QWidget* parent, const TwipScale& scale,
                                            const Dispatch& dispatch) {
  switch (control.kind()) {
    case ControlKind::CommandButton: return bindCommandButton(control, parent, scale, dispatch);
    case ControlKind::CheckBox: return bindCheckBox(control, parent, scale, dispatch);
    case ControlKind::OptionButton: return bindOptionButton(control, parent, scale, dispatch);
    case ControlKind::Label: return bindLabel(control, parent, scale, dispatch);
    case ControlKind::Slider:
    case ControlKind::VScrollBar: return bindRanged(control, parent, scale, dispatch);
    case ControlKind::ComboBox: return bindComboBox(control, parent, scale, dispatch);
    case ControlKind::ListView: return bindListView(control, parent, scale, dispatch);
    case ControlKind::TextBox: return bindTextBox(control, parent, scale);
    case ControlKind::Frame: return bindFrame(control, parent, scale);
    case ControlKind::Shape: return bindShape(control, parent, scale);
    case ControlKind::Line: return bindLine(control, parent, scale);
    case ControlKind::PictureBox: return bindPicture(control, parent, scale);
    case ControlKind::LevelMeter: return bindLevelMeter(control, parent, scale);
    case ControlKind::Timer: return nullptr;
  }
  return nullptr;
}

}  // namespace tk::qt
