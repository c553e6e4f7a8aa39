#include "toolkit/qt/qt_backend.h"

#include "toolkit/form.h"

namespace tk::qt {

QtBackend::QtBackend() : QtBackend(TwipScale::ofScreen()) {}

QtBackend::QtBackend(const TwipScale& scale) : scale_(scale) {
  app().addObserver(this);
  for (Form* form : app().forms())
    if (form->visible()) formShown(*form);
}

QtBackend::~QtBackend() {
  app().removeObserver(this);
  for (auto& [form, window] : windows_) delete window;
}

void QtBackend::formShown(Form& form) {
  FormWindow*& window = windows_[&form];
  if (!window) window = new FormWindow(form, scale_);
  window->sync();
  window->show();
  window->raise();
  window->activateWindow();
}

void QtBackend::formLeft(Form& form) {
  auto it = windows_.find(&form);
  if (it == windows_.end()) return;
  FormWindow* window = it->second;
  windows_.erase(it);
  window->detach();
  window->hide();
  // The user's click that closed the form may still be running inside it.
  window->deleteLater();
}

void QtBackend::afterEvent() {
  for (auto& [form, window] : windows_) window->sync();
}

FormWindow* QtBackend::windowOf(const Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second;
}

}  // namespace tk::qt
