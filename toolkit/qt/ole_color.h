#pragma once
#include <QColor>
#include <QPalette>

#include "toolkit/colors.h"

namespace tk::qt {

// An OLE_COLOR as a Qt colour: 0x00BBGGRR, or a system colour (high bit set)
// taken from the palette.
QColor toQColor(OleColor color, const QPalette& palette);

}  // namespace tk::qt
