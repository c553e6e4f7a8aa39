#pragma once
// The bindings of each kind of control, created by bindControl.
#include <memory>

#include "toolkit/qt/control_binding.h"

namespace tk::qt {

using BindingPtr = std::unique_ptr<ControlBinding>;

// Controls that take clicks (click_bindings.cpp).
BindingPtr bindCommandButton(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d);
BindingPtr bindCheckBox(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d);
BindingPtr bindOptionButton(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d);
BindingPtr bindLabel(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d);
// Sliders and scroll bars (ranged_binding.cpp).
BindingPtr bindRanged(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d);
// combo_box_binding.cpp, list_view_binding.cpp.
BindingPtr bindComboBox(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d);
BindingPtr bindListView(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d);
// Controls that only show something (display_bindings.cpp).
BindingPtr bindTextBox(Control& c, QWidget* parent, const TwipScale& s);
BindingPtr bindFrame(Control& c, QWidget* parent, const TwipScale& s);
BindingPtr bindShape(Control& c, QWidget* parent, const TwipScale& s);
BindingPtr bindLine(Control& c, QWidget* parent, const TwipScale& s);
BindingPtr bindPicture(Control& c, QWidget* parent, const TwipScale& s);
BindingPtr bindLevelMeter(Control& c, QWidget* parent, const TwipScale& s);

}  // namespace tk::qt
