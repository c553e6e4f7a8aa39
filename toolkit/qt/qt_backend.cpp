#include "toolkit/qt/qt_backend.h"

#include <QScreen>
#include <QWindow>
#include <algorithm>

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

namespace {

// A dialog opens centred over its owner, inside the owner's screen, and
// stays on top of it.
void openOver(FormWindow& dialog, FormWindow& owner) {
  dialog.winId();  // a native window, to name its owner
  dialog.windowHandle()->setTransientParent(owner.windowHandle());
  const QRect over = owner.frameGeometry();
  QRect place(QPoint(0, 0), dialog.frameGeometry().size());
  place.moveCenter(over.center());
  if (const QScreen* screen = owner.screen()) {
    const QRect area = screen->availableGeometry();
    place.moveLeft(std::clamp(place.left(), area.left(), std::max(area.left(), area.right() - place.width())));
    place.moveTop(std::clamp(place.top(), area.top(), std::max(area.top(), area.bottom() - place.height())));
  }
  dialog.move(place.topLeft());
}

}  // namespace

FormWindow* QtBackend::mainWindow() const {
  for (const Form* form : app().forms()) {
    if (form->borderStyle() == BorderStyle::FixedDialog) continue;
    if (FormWindow* window = windowOf(*form); window && window->isVisible()) return window;
  }
  return nullptr;
}

void QtBackend::formShown(Form& form) {
  FormWindow*& window = windows_[&form];
  if (!window) {
    window = new FormWindow(form, scale_);
    for (const Decorator& decorate : decorators_)
      if (auto decoration = decorate(form, *window)) window->addDecoration(std::move(decoration));
    if (FormWindow* owner = mainWindow(); owner && form.borderStyle() == BorderStyle::FixedDialog)
      openOver(*window, *owner);
  }
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
