#pragma once
#include <QPainter>
#include <QRect>

#include "toolkit/drawing.h"
#include "toolkit/qt/twip_scale.h"

namespace tk::qt {

// Paints a form's drawing list: filled boxes and one-pixel outlines, each at
// least one pixel wide and high, so a box one twip high stays a visible line.
void paintDrawing(QPainter& painter, const DrawingList& drawing, const TwipScale& scale);
// The pixels the list covers (empty for an empty list).
QRect drawingBounds(const DrawingList& drawing, const TwipScale& scale);

}  // namespace tk::qt
