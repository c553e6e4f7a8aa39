#pragma once
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "toolkit/control.h"
#include "toolkit/qt/twip_scale.h"

namespace tk::qt {

// Runs a user action as one toolkit event; does nothing once the window has
// let go of its form.
using Dispatch = std::function<void(const std::function<void()>&)>;

// Keeps one widget in step with one control model and turns what the user
// does with the widget into the model's user operations.
class ControlBinding {
 public:
  ControlBinding(Control& control, QWidget* widget, const TwipScale& scale);
  virtual ~ControlBinding() = default;
  ControlBinding(const ControlBinding&) = delete;
  ControlBinding& operator=(const ControlBinding&) = delete;

  Control& control() const { return control_; }
  QWidget* widget() const { return widget_; }
  // Brings the widget in step when the model changed since the last call.
  void sync();

 protected:
  // The control's own state (value, caption, rows...).
  virtual void syncOwn() = 0;
  // Where the widget goes in its container, in pixels.
  virtual QRect placement() const;
  // Background and text colour; the default uses the window roles.
  virtual void applyColors();
  const TwipScale& scale() const { return scale_; }

 private:
  Control& control_;
  QWidget* widget_;
  TwipScale scale_;
  std::uint64_t seen_ = ~std::uint64_t{0};
  std::optional<std::pair<OleColor, OleColor>> colorsApplied_;  // back, fore
};

// The binding for a control, its widget created in `parent`; nullptr for
// controls that show nothing (timers).
std::unique_ptr<ControlBinding> bindControl(Control& control, QWidget* parent, const TwipScale& scale,
                                            const Dispatch& dispatch);

}  // namespace tk::qt
