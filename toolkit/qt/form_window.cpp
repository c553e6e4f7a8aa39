#include "toolkit/qt/form_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/qt/drawing_painter.h"
#include "toolkit/qt/ole_color.h"
#include "toolkit/simple_controls.h"

namespace tk::qt {

namespace {

// The forms are laid out for the toolkit's 8-point default font, a narrow
// sans serif; the nearest one installed stands in for it.
constexpr double kFormFontPoints = 8.0;

QFont formFont(QFont font) {
  font.setFamilies({"Liberation Sans", "Arimo", "Arial", "DejaVu Sans Condensed", "DejaVu Sans"});
  font.setPointSizeF(kFormFontPoints);
  return font;
}

// What a title bar takes besides the title, in lines of its font: the
// window's icon and up to three buttons with their gaps (openbox's default
// layout, as wide as most).
constexpr int kTitleBarRoomLines = 8;

// A fixed dialog frame: a title and a close box, nothing to minimise or
// maximise. Shown transient for the main window, it gets no task-bar entry.
Qt::WindowFlags frameFlags(BorderStyle style) {
  if (style == BorderStyle::FixedDialog)
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  return Qt::Window;
}

}  // namespace

FormWindow::FormWindow(Form& form, const TwipScale& scale)
    : QWidget(nullptr, frameFlags(form.borderStyle())), form_(&form), scale_(scale) {
  setObjectName(QString::fromStdString(form.name()));
  setFont(formFont(font()));
  setFixedSize(scale_.length(form.clientWidth()), scale_.length(form.clientHeight()));
  // paintEvent() fills the background itself, rectangle by rectangle.
  setAttribute(Qt::WA_OpaquePaintEvent);
  for (Control* c : form.controls()) bind(*c);
  sync();
}

FormWindow::~FormWindow() {
  detach();
  // The widgets go first, while their bindings still exist: a widget may
  // signal while it is taken down.
  for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) delete child;
}

ControlBinding* FormWindow::bind(Control& control) {
  if (auto it = byControl_.find(&control); it != byControl_.end()) return it->second;
  // A container's widget is made first, so its controls can go into it. The
  // mark set before stops a chain of containers that leads back to itself;
  // a container of another form counts as none.
  byControl_[&control] = nullptr;
  QWidget* parent = this;
  if (Control* container = control.container(); container && &container->form() == &control.form()) {
    ControlBinding* holder = bind(*container);
    if (holder) parent = holder->widget();
  }
  auto binding = bindControl(control, parent, scale_, [this](const std::function<void()>& action) { dispatch(action); });
  ControlBinding* raw = binding.get();
  byControl_[&control] = raw;
  if (binding) bindings_.push_back(std::move(binding));
  return raw;
}

void FormWindow::dispatch(const std::function<void()>& action) {
  if (!form_) return;
  app().runEvent(action);
}

void FormWindow::detach() {
  form_ = nullptr;
  byControl_.clear();
}

QWidget* FormWindow::widgetOf(const Control& control) const {
  auto it = byControl_.find(&control);
  return it != byControl_.end() && it->second ? it->second->widget() : nullptr;
}

void FormWindow::sync() {
  if (!form_) return;
  if (form_->revision() != formRevision_) {
    formRevision_ = form_->revision();
    const QString title = QString::fromStdString(form_->caption());
    setWindowTitle(title);
    setFixedWidth(std::max(scale_.length(form_->clientWidth()), titleBarWidth(title)));
  }
  for (auto& binding : bindings_) binding->sync();
  for (auto& decoration : decorations_) decoration->sync();
  syncDrawing();
}

int FormWindow::titleBarWidth(const QString& title) {
  QFont font = QApplication::font();
  font.setBold(true);
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance(title) + kTitleBarRoomLines * metrics.height();
}

void FormWindow::addDecoration(std::unique_ptr<WindowDecoration> decoration) {
  decorations_.push_back(std::move(decoration));
  if (form_) decorations_.back()->sync();
}

void FormWindow::syncDrawing() {
  if (form_->drawingRevision() == drawingRevision_) return;
  drawingRevision_ = form_->drawingRevision();
  // Every tick draws the picture anew; repaint only where it differs from
  // what is on screen.
  const QRect changed = shownDrawing_.update(form_->drawing(), scale_);
  if (!changed.isEmpty()) update(changed);
}

void FormWindow::paintEvent(QPaintEvent* event) {
  if (!form_) return;
  QPainter p(this);
  const QBrush background = palette().brush(backgroundRole());
  paintEachRect(p, event->region(), [&](const QRect& exposed) {
    p.fillRect(exposed, background);
    // Shapes on the form fill their area beneath the drawing.
    for (Control* c : form_->controls()) {
      if (c->kind() == ControlKind::Shape && !c->container() && c->visible() && c->backColor() != kButtonFace)
        p.fillRect(scale_.rect(c->geometry()) & exposed, toQColor(c->backColor(), palette()));
    }
    shownDrawing_.paint(p, exposed);
  });
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The form decides (QueryUnload); when it unloads, the backend takes the
  // window down.
  event->ignore();
  if (form_) {
    Form* form = form_;
    dispatch([form] { form->unload(UnloadMode::CloseBox); });
  }
}

bool FormWindow::pressKeyButton(bool cancel) {
  if (!form_) return false;
  for (Control* c : form_->controls()) {
    if (c->kind() != ControlKind::CommandButton) continue;
    auto* button = static_cast<CommandButton*>(c);
    if ((cancel ? button->isCancel : button->isDefault) && button->enabled() && button->visible()) {
      dispatch([button] { button->userClick(); });
      return true;
    }
  }
  return false;
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool handled = (key == Qt::Key_Return || key == Qt::Key_Enter) ? pressKeyButton(false)
                       : key == Qt::Key_Escape                           ? pressKeyButton(true)
                                                                         : false;
  if (!handled) QWidget::keyPressEvent(event);
}

}  // namespace tk::qt
