#pragma once
#include <QRect>
#include <QWidget>

#include "vantorhost/run/host_settings.h"

namespace vantorhost {

// Where Sonvero's main window and the host window go, frames included.
struct WindowArrangement {
  QRect main, host;
};

// Both windows wholly on the screen's free area: side by side when they fit
// across it, else the main window at the top and the host window under it,
// as high as the room left (not below its smallest height). The host window
// takes the width it wants where there is room.
WindowArrangement arrangeWindows(const QRect& area, QSize mainFrame, QSize hostSmallest, QSize hostWanted);

// Places the two windows: where they stood last time when both lie wholly
// on the screen now, else as arrangeWindows() says.
void placeWindows(QWidget& main, QWidget& host, const HostSettings& kept);
// Notes where they stand now (main may be null: closed).
void notePlaces(const QWidget* main, const QWidget& host, HostSettings& kept);

}  // namespace vantorhost
