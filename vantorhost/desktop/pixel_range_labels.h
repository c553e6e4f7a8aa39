#pragma once
// The bar dialog ("Balken definieren") picks its band by pixel number; under
// each of its two pixel boxes the host shows the frequencies that pixel
// covers, from the bridge's pixel table. The dialog's form stays as it is:
// the labels live in its window only, and what the dialog has chosen comes
// through the plug-in's design interface.
#include <memory>
#include <string>

#include "interface/plugin_design.h"
#include "toolkit/qt/window_decoration.h"

namespace vantorhost {

// "20.0–20.5 Hz", "15.63–16.00 kHz" for a pixel box's entry 0..287; empty
// for none.
std::string pixelRangeText(int listIndex);

// The decorator for the bar dialog's windows (nullptr for other forms): the
// labels "FromPixelRange" and "ToPixelRange".
std::unique_ptr<tk::qt::WindowDecoration> decoratePixelBoxes(IPluginDesign& design, tk::Form& form,
                                                             tk::qt::FormWindow& window);

}  // namespace vantorhost
