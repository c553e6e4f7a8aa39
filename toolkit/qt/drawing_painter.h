#pragma once
#include <QPainter>
#include <QRect>

#include "toolkit/drawing.h"
#include "toolkit/qt/twip_scale.h"

namespace tk::qt {

// Paints a form's drawing list: filled boxes and one-pixel outlines, each at
// least one pixel wide and high, so a box one twip high stays a visible line.
// Only boxes that reach into `exposed` are painted; every box is plain
// rectangle fills, so the painter's state never changes on the way.
void paintDrawing(QPainter& painter, const DrawingList& drawing, const TwipScale& scale,
                  const QRect& exposed = QRect(QPoint(-2000000, -2000000), QPoint(2000000, 2000000)));
// A one-pixel outline along the inside of `r`, as four fills: what a
// one-pixel pen draws around it, with no pen to stroke.
void fillOutline(QPainter& painter, const QRect& r, const QColor& color);
// The pixels the list covers (empty for an empty list).
QRect drawingBounds(const DrawingList& drawing, const TwipScale& scale);
// The pixels where two lists differ: the boxes that moved, changed or came
// and went, where they were and where they are.
QRect changedBounds(const DrawingList& before, const DrawingList& after, const TwipScale& scale);

}  // namespace tk::qt
