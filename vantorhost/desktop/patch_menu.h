#pragma once
#include <QAction>
#include <QMenuBar>
#include <QObject>
#include <QPointer>

#include "vantorhost/desktop/patch_window.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

// The host window's "Fixtures" menu: "Patch…" (Ctrl+P) opens the patch
// window beside the host window (one at a time; again, it comes to the front).
class PatchMenu : public QObject {
 public:
  PatchMenu(QWidget& window, QMenuBar& bar, HostSession& session);

  QAction& patchAction() const { return *patch_; }
  // The patch window once opened, else null.
  PatchWindow* patchWindow() const { return window_; }
  void openPatchWindow();

 private:
  QWidget& host_;
  HostSession& session_;
  QAction* patch_;
  QPointer<PatchWindow> window_;
};

}  // namespace vantorhost
