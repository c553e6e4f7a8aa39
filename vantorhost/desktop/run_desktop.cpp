// The desktop: Sonvero's windows through the toolkit's Qt backend, and the
// host's own window with the DMX monitor and the plug-in's beat counter.
#include "vantorhost/desktop/run_desktop.h"

#include <QApplication>
#include <QLayout>
#include <QTimer>
#include <cstdlib>
#include <memory>

#include "bridge/vbvis.h"
#include "toolkit/application.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_event_loop.h"
#include "vantorhost/base/log.h"
#include "vantorhost/desktop/host_window.h"
#include "vantorhost/desktop/pixel_range_labels.h"
#include "vantorhost/desktop/show_menu.h"
#include "vantorhost/desktop/window_places.h"
#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/output/output_path.h"
#include "vantorhost/run/host_output.h"
#include "vantorhost/run/live_run.h"
#include "vantorhost/run/run_headless.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

namespace {

// How long a window manager may take to frame a new window.
constexpr int kPlaceAgainMs = 400;

bool displayAvailable() {
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

// The windows, from the plug-in's loading to the host window's closing.
int runWindows(const HostOptions& options, tk::qt::QtEventLoop& loop) {
  tk::qt::QtBackend backend;
  std::unique_ptr<DmxOutput> dmx = makeDmxOutput(options);
  HostSession session(options.pluginPath, loop);
  backend.addDecorator([&session](tk::Form& form, tk::qt::FormWindow& window) {
    IPluginDesign* design = session.design();
    return design ? decoratePixelBoxes(*design, form, window) : nullptr;
  });
  KeptShow show(options);
  if (!startPlugin(session, show)) return 1;
  HostSettingsFile kept(hostSettingsFile(session));
  if (!openAudioSource(options, kept.settings())) return 1;
  applyStartGain(options, kept.settings());
  HostOutput out(session, std::move(dmx), HostOutput::Clock::Real);
  OutputPath& path = out.path();
  path.setDelay(startDelayMs(options, kept.settings()));
  path.setMaster(kept.settings().masterPercent.value_or(OutputPath::kFullMaster));
  HostWindow window(session, path, &kept);
  ShowMenu menu(window, session, show.origin());
  window.layout()->setMenuBar(menu.menuBar());
  window.stopRequested = [] { return stopRequested(); };
  QWidget* main = session.mainWindow() ? backend.windowOf(*session.mainWindow()) : nullptr;
  window.onClosing = [&] {
    const tk::Form* form = session.mainWindow();
    notePlaces(form ? backend.windowOf(*form) : nullptr, window, kept.settings());
    kept.save();
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
  const int status = QApplication::exec();
  // The host window closed Sonvero's window, which saved Sonvero.ini.
  show.saveAtQuit(session);
  // The last values go out before the output closes (after the window,
  // which watches it): the lights hold their look.
  path.finish();
  session.stop();
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
  tk::app().setLoop(&loop);
  catchStopSignals();

  const int status = runWindows(options, loop);
  vbvis_close();
  tk::app().setLoop(nullptr);
  hostLog("stopped");
  return status;
}

}  // namespace vantorhost
