#include "vantorhost/desktop/window_places.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace vantorhost {

namespace {

// The frame a window manager puts around a window it has not framed yet:
// a title bar and thin borders.
const QMargins kUsualFrame(1, 28, 1, 1);

QMargins frameOf(const QWidget& window) {
  const QRect frame = window.frameGeometry(), inner = window.geometry();
  if (frame == inner) return kUsualFrame;
  return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
          frame.bottom() - inner.bottom()};
}

QSize grown(QSize size, const QMargins& m) { return size.grownBy(m); }

QRect rectOf(const WindowPlace& p) { return {p.x, p.y, p.width, p.height}; }

WindowPlace placeOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// Moves a window so that its frame stands at `frame`, its inside sized to fit.
void put(QWidget& window, const QRect& frame, bool resize) {
  const QMargins m = frameOf(window);
  if (resize) window.resize(frame.size().shrunkBy(m));
  window.move(frame.topLeft());
}

}  // namespace

WindowArrangement arrangeWindows(const QRect& area, QSize mainFrame, QSize hostSmallest, QSize hostWanted) {
  const QRect main(area.topLeft(), mainFrame);
  if (mainFrame.width() + hostSmallest.width() <= area.width()) {
    const int width = std::min(hostWanted.width(), area.width() - mainFrame.width());
    const int height = std::clamp(hostWanted.height(), hostSmallest.height(), area.height());
    return {main, QRect(main.right() + 1, area.top(), width, height)};
  }
  const int width = std::clamp(hostWanted.width(), hostSmallest.width(), std::max(hostSmallest.width(), area.width()));
  const int height = std::max(hostSmallest.height(), std::min(hostWanted.height(), area.bottom() - main.bottom()));
  return {main, QRect(area.left(), main.bottom() + 1, width, height)};
}

void placeWindows(QWidget& main, QWidget& host, const HostSettings& kept) {
  const QScreen* screen = host.screen() ? host.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  if (kept.mainWindow && kept.hostWindow && area.contains(rectOf(*kept.mainWindow)) &&
      area.contains(rectOf(*kept.hostWindow))) {
    put(main, rectOf(*kept.mainWindow), false);
    put(host, rectOf(*kept.hostWindow), true);
    return;
  }
  const QMargins hostFrame = frameOf(host);
  const WindowArrangement places =
      arrangeWindows(area, grown(main.size(), frameOf(main)), grown(host.minimumSizeHint(), hostFrame),
                     grown(host.sizeHint().expandedTo(host.size()), hostFrame));
  put(main, places.main, false);
  put(host, places.host, true);
}

void notePlaces(const QWidget* main, const QWidget& host, HostSettings& kept) {
  if (main) kept.mainWindow = placeOf(main->frameGeometry());
  kept.hostWindow = placeOf(host.frameGeometry());
}

}  // namespace vantorhost
