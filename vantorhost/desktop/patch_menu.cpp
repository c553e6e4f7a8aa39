#include "vantorhost/desktop/patch_menu.h"

#include <QMenu>

namespace vantorhost {

PatchMenu::PatchMenu(QWidget& window, QMenuBar& bar, HostSession& session) : host_(window), session_(session) {
  QMenu* menu = bar.addMenu("&Fixtures");
  patch_ = menu->addAction("&Patch\u2026", QKeySequence(Qt::CTRL | Qt::Key_P), this, [this] { openPatchWindow(); });
}

void PatchMenu::openPatchWindow() {
  // A window of its own (Qt::Window) that the host window owns.
  if (!window_) window_ = new PatchWindow(session_, &host_);
  window_->setWindowFlag(Qt::Window);
  window_->show();
  window_->raise();
  window_->activateWindow();
}

}  // namespace vantorhost
