// What the desktop pays on Qt's offscreen platform:
//  - one main tick with eight bars and a moving spectrum, with the windows
//    brought in step (sync), with the whole main window painted, and painted
//    as on screen (only what moved);
//  - opening the channel dialog on a full list (1024 entries, 1024 rows)
//    with its widgets built;
//  - the DMX monitor following 8 or 68 channels that move every tick,
//    painted as on screen.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdio>
#include <string>

#include "bridge/vbvis.h"
#include "model/arrays.h"
#include "tests/support/qt_application.h"
#include "toolkit/application.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_event_loop.h"
#include "ui/Kanaele.h"
#include "ui/Main.h"
#include "vantorhost/desktop/dmx_monitor_widget.h"

using namespace vantorhost;

namespace {

// Main shown through the Qt backend with eight bars and a varied spectrum.
struct ShownMain {
  ShownMain() {
    support::offscreenQtApp();
    tk::app().setLoop(&loop);
    vbvis_open("script");
    std::string hex;
    for (int p = 0; p < 288; ++p) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02X", (p * 37) % 256);
      hex += pair;
    }
    vbvis_script_spectrum(288, hex.data(), static_cast<std::int32_t>(hex.size()));
    vbvis_script_vu(12000, 9000);
    Arrays::resetAll();
    for (int slot = 0; slot < 8; ++slot) {
      Arrays::bars[slot] = {static_cast<std::int16_t>(slot + 1), static_cast<std::int16_t>(1 + 36 * slot),
                            static_cast<std::int16_t>(36 * (slot + 1)), 0, 100, 40, 0, 1};
      Arrays::barChannels[slot][1] = static_cast<std::int16_t>(slot + 1);
    }
    tk::app().runEvent([] { mainForm().show(); });
    tk::app().runEvent([] { mainForm().Check3.setValue(1); });  // the beat meter moves too
  }
  ~ShownMain() {
    tk::app().discardAll();
    tk::app().setLoop(nullptr);
    vbvis_close();
  }
  tk::qt::QtEventLoop loop;
  tk::qt::QtBackend backend{tk::qt::TwipScale(96.0)};
};

void MainTickWithSync(benchmark::State& state) {
  ShownMain shown;
  for (auto _ : state) tk::app().runEvent([] { mainForm().Timer1_Timer(); });
}
BENCHMARK(MainTickWithSync)->Unit(benchmark::kMicrosecond);

void MainTickWithFullPaint(benchmark::State& state) {
  ShownMain shown;
  QWidget* window = shown.backend.windowOf(mainForm());
  QImage image(window->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    tk::app().runEvent([] { mainForm().Timer1_Timer(); });
    QPainter painter(&image);
    window->render(&painter);
  }
}
BENCHMARK(MainTickWithFullPaint)->Unit(benchmark::kMicrosecond);

// Each tick another spectrum and other levels, as music gives them.
void MainTickOnScreen(benchmark::State& state) {
  ShownMain shown;
  std::string hex(576, '0');
  int step = 0;
  for (auto _ : state) {
    ++step;
    for (int p = 0; p < 288; ++p) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02X", (p * 37 + step * 11) % 256);
      hex.replace(static_cast<std::size_t>(2 * p), 2, pair);
    }
    vbvis_script_spectrum(288, hex.data(), static_cast<std::int32_t>(hex.size()));
    vbvis_script_vu(static_cast<std::int16_t>(step * 3000 % 16000), static_cast<std::int16_t>(step * 7000 % 16000));
    tk::app().runEvent([] { mainForm().Timer1_Timer(); });
    QCoreApplication::processEvents();
  }
}
BENCHMARK(MainTickOnScreen)->Unit(benchmark::kMicrosecond);

void ChannelDialogOnAFullListWithWidgets(benchmark::State& state) {
  ShownMain shown;
  for (int p = 1; p <= Arrays::kListEntries; ++p)
    Arrays::outputChannels[Arrays::kVuLeft][p] = static_cast<std::int16_t>(p);
  for (auto _ : state) {
    Arrays::editedList = Arrays::kVuLeft;
    tk::app().runEvent([] { Kanaele::showForEditedList(); });
    state.PauseTiming();
    tk::Form* dialog = tk::app().forms().back();
    tk::app().runEvent([dialog] { dialog->unload(); });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
}
BENCHMARK(ChannelDialogOnAFullListWithWidgets)->Unit(benchmark::kMillisecond);

void DmxMonitorFollowingChannels(benchmark::State& state) {
  const int moving = static_cast<int>(state.range(0));
  support::offscreenQtApp();
  ChannelBuffer channels;
  DmxMonitorWidget monitor(channels);
  monitor.resize(monitor.sizeHint());
  monitor.show();
  QCoreApplication::processEvents();
  std::int64_t now = 0;
  for (auto _ : state) {
    now += 75;
    for (int c = 1; c <= moving; ++c) channels.set(c, static_cast<std::int32_t>((now / 75 * c) % 256), now);
    monitor.refresh(now);
    QCoreApplication::processEvents();
  }
}
// Eight channels, and the 68 that sixteen bars of four and two VU pairs move.
BENCHMARK(DmxMonitorFollowingChannels)->Arg(8)->Arg(68)->Unit(benchmark::kMicrosecond);

}  // namespace
