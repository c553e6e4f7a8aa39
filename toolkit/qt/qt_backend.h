#pragma once
#include <unordered_map>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/twip_scale.h"

namespace tk::qt {

// Shows every form the toolkit shows: a window per loaded, shown form,
// brought in step after every event and taken down when the form leaves.
// Forms shown before the backend existed get their windows at once. Forms
// with a fixed dialog frame open centred over the main window.
class QtBackend : public FormObserver {
 public:
  QtBackend();
  explicit QtBackend(const TwipScale& scale);
  ~QtBackend() override;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  void formShown(Form& form) override;
  void formLeft(Form& form) override;
  void afterEvent() override;

  // The window of a form, or nullptr.
  FormWindow* windowOf(const Form& form) const;
  // The application's main window: that of the oldest shown form without a
  // dialog frame, over which dialogs open; nullptr while there is none.
  FormWindow* mainWindow() const;
  const TwipScale& scale() const { return scale_; }
  // Asked for a decoration of every window made from now on.
  void addDecorator(Decorator decorator) { decorators_.push_back(std::move(decorator)); }

 private:
  TwipScale scale_;
  std::unordered_map<const Form*, FormWindow*> windows_;
  std::vector<Decorator> decorators_;
};

}  // namespace tk::qt
