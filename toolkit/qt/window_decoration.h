#pragma once
#include <functional>
#include <memory>

#include "toolkit/form.h"

namespace tk::qt {

class FormWindow;

// What the program adds to a form's window beyond the form's own controls
// (the form stays as it is described): widgets of its own in the window,
// brought in step after every event, as the controls are.
class WindowDecoration {
 public:
  virtual ~WindowDecoration() = default;
  // Called after every event while the form is loaded; reads the form's
  // controls and updates the decoration's widgets when they changed.
  virtual void sync() = 0;
};

// Asked once for each new window: a decoration for that form, or nullptr.
using Decorator = std::function<std::unique_ptr<WindowDecoration>(Form& form, FormWindow& window)>;

}  // namespace tk::qt
