// The desktop: Sonvero's windows through the toolkit's Qt backend, and the
// host's own window with the DMX monitor and the plug-in's beat counter.
#include "vantorhost/desktop/run_desktop.h"

#include <QApplication>
#include <QLayout>
#include <QTimer>
#include <cstdlib>

#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_event_loop.h"
#include "vantorhost/base/log.h"
#include "vantorhost/desktop/host_window.h"
#include "vantorhost/desktop/pixel_range_labels.h"
#include "vantorhost/desktop/patch_menu.h"
#include "vantorhost/desktop/show_menu.h"
#include "vantorhost/desktop/window_places.h"
#include "vantorhost/run/live_run.h"
#include "vantorhost/run/run_headless.h"
#include "vantorhost/run/stop_signals.h"

namespace vantorhost {

namespace {

// How long a window manager may take to frame a new window.
constexpr int kPlaceAgainMs = 400;

bool displayAvailable() {
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

// The host window beside Sonvero's, until the host window closes; the exit
// status.
int showWindows(LiveRun& live, tk::qt::QtBackend& backend) {
  HostSession& session = live.session();
  HostSettingsFile& kept = live.settings();
  HostWindow window(session, live.path(), &kept, HostWindow::Link{live.link(), live.beatSource()});
  ShowMenu menu(window, session, live.show().origin().file, {}, live.show().origin().changed);
  window.layout()->setMenuBar(menu.menuBar());
  PatchMenu patchMenu(window, *menu.menuBar(), session);
  window.stopRequested = [] { return stopRequested(); };
  window.mayClose = [&menu] { return menu.mayQuit(); };
  QWidget* main = session.mainWindow() ? backend.windowOf(*session.mainWindow()) : nullptr;
  window.onClosing = [&] {
    const tk::Form* form = session.mainWindow();
    notePlaces(form ? backend.windowOf(*form) : nullptr, window, kept.settings());
    kept.save();
    // Sonvero.show notes the show the design stands for at the next start.
    live.show().setOrigin({menu.file(), menu.modified()});
  };
  window.onClosed = [] { QCoreApplication::quit(); };
  // Placed before the host window shows, and again once the window manager
  // has framed both and placed them its own way.
  if (main) placeWindows(*main, window, kept.settings());
  window.show();
  if (main)
    QTimer::singleShot(kPlaceAgainMs, &window, [&] {
      if (QWidget* shown = session.mainWindow() ? backend.windowOf(*session.mainWindow()) : nullptr)
        placeWindows(*shown, window, kept.settings());
    });
  hostLog("desktop running; closing the host window (or Ctrl-C) saves the settings and the design and quits");
  // Closing the host window closes Sonvero's window, which saves Sonvero.ini.
  return QApplication::exec();
}

// The windows, from the plug-in's loading to the host window's closing.
int runWindows(const HostOptions& options, tk::qt::QtEventLoop& loop) {
  tk::qt::QtBackend backend;
  LiveRun live(options, loop);
  backend.addDecorator([&session = live.session()](tk::Form& form, tk::qt::FormWindow& window) {
    IPluginDesign* design = session.design();
    return design ? decoratePixelBoxes(*design, form, window) : nullptr;
  });
  if (!live.start()) return 1;
  // The windows go first, as they watch the output.
  const int status = showWindows(live, backend);
  live.stop();
  return status;
}

}  // namespace

int runDesktop(const HostOptions& options) {
  if (!displayAvailable()) {
    hostLog("no display found; running headless (Ctrl-C stops and saves the settings)");
    return runHeadless(options);
  }
  static int argc = 1;
  static char name[] = "sonvero";
  static char* argv[] = {name, nullptr};
  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Sonvero");
  // The host window decides when the program ends, not the last plug-in window.
  QApplication::setQuitOnLastWindowClosed(false);

  tk::qt::QtEventLoop loop;
  return runWindows(options, loop);
}

}  // namespace vantorhost
