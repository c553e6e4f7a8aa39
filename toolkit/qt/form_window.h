#pragma once
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/qt/drawing_painter.h"
#include "toolkit/qt/control_binding.h"
#include "toolkit/qt/twip_scale.h"
#include "toolkit/qt/window_decoration.h"

namespace tk::qt {

// The window of one loaded form: a widget per control at its twip position,
// the form's drawing painted beneath them. User input becomes toolkit
// events; sync() brings everything in step with the models afterwards.
class FormWindow : public QWidget {
 public:
  FormWindow(Form& form, const TwipScale& scale);
  ~FormWindow() override;

  // nullptr once the form has left.
  Form* form() const { return form_; }
  void sync();
  // The form left the loaded forms (and may be deleted soon): drop every
  // reference to it; user input is ignored from now on.
  void detach();
  // The widget that shows a control, or nullptr.
  QWidget* widgetOf(const Control& control) const;
  const TwipScale& scale() const { return scale_; }
  // Kept in step with the form from now on, after the controls.
  void addDecoration(std::unique_ptr<WindowDecoration> decoration);
  // How wide a window must be for a window manager to show `title` whole
  // beside its icon and buttons. A form narrower than that (the bar
  // dialog) is widened to it, its controls staying where they stand.
  static int titleBarWidth(const QString& title);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ControlBinding* bind(Control& control);
  void dispatch(const std::function<void()>& action);
  // Enter presses the default button, Escape the cancel button.
  bool pressKeyButton(bool cancel);
  void syncDrawing();

  Form* form_;
  TwipScale scale_;
  std::vector<std::unique_ptr<ControlBinding>> bindings_;
  std::vector<std::unique_ptr<WindowDecoration>> decorations_;
  std::unordered_map<const Control*, ControlBinding*> byControl_;
  std::uint64_t formRevision_ = ~std::uint64_t{0};
  std::uint64_t drawingRevision_ = ~std::uint64_t{0};
  ShownDrawing shownDrawing_;  // as of the last sync
};

}  // namespace tk::qt
