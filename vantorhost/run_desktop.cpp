// The desktop: Sonvero's windows through the toolkit's Qt backend, and the
// host's own window with the DMX monitor and the beat tool.
#include <QApplication>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "audio/vbvis/vbvis.h"
#include "toolkit/application.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_event_loop.h"
#include "vantorhost/default_audio_source.h"
#include "vantorhost/desktop/host_window.h"
#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/host_session.h"
#include "vantorhost/log.h"
#include "vantorhost/run_modes.h"

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onSignal(int) { interrupted = 1; }

bool displayAvailable() {
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

// The windows, from the plug-in's loading to the host window's closing.
int runWindows(const HostOptions& options, tk::qt::QtEventLoop& loop) {
  tk::qt::QtBackend backend;
  std::unique_ptr<DmxOutput> dmx = makeDmxOutput(options);
  hostLog(dmx->status());
  HostSession session(options.pluginPath, loop);
  try {
    session.start();
  } catch (const std::runtime_error& e) {
    hostLog(e.what());
    return 1;
  }
  HostWindow window(session, *dmx);
  window.stopRequested = [] { return interrupted != 0; };
  window.onClosed = [] { QCoreApplication::quit(); };
  window.show();
  hostLog("desktop running; closing the host window (or Ctrl-C) saves the settings and quits");
  const int status = QApplication::exec();
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
  const std::string uri = options.audio ? *options.audio : defaultAudioSource();
  if (vbvis_open(uri.c_str()) != 0) {
    hostLog("unknown or unreadable audio source: " + uri);
    tk::app().setLoop(nullptr);
    return 1;
  }
  hostLog("audio source: " + uri);
  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  std::signal(SIGPIPE, SIG_IGN);

  const int status = runWindows(options, loop);
  vbvis_close();
  tk::app().setLoop(nullptr);
  hostLog("stopped");
  return status;
}
