#include "toolkit/qt/ole_color.h"

namespace tk::qt {

namespace {

// The system colour indexes the forms use, mapped to the nearest palette role.
QPalette::ColorRole systemRole(unsigned index) {
  switch (index) {
    case 5: return QPalette::Base;            // window background
    case 8: return QPalette::Text;            // window text
    case 15: return QPalette::Button;         // button face
    case 16: return QPalette::Dark;           // button shadow
    case 18: return QPalette::ButtonText;     // button text
    case 20: return QPalette::Light;          // button highlight
    default: return QPalette::Window;
  }
}

}  // namespace

QColor toQColor(OleColor color, const QPalette& palette) {
  if (color & 0x80000000u) return palette.color(systemRole(color & 0xFFu));
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace tk::qt
