#pragma once
// What the three beat detectors do alike once they know whether their input
// is above the beat threshold.
#include <cstdint>

#include "model/arrays.h"
#include "toolkit/level_meter.h"
#include "toolkit/option_button.h"
#include "toolkit/simple_controls.h"

namespace engine {

// Every meter update is the widget's pair of operations: clear, then show.
inline void showOnMeter(tk::LevelMeter& meter, std::int16_t percent) {
  meter.clear();
  meter.show(percent);
}

// Colours the flash box, flashes the channel list with 255 or writes 0, and
// moves the beat state only while the detector is the beat-tool source.
void flashBeat(bool on, tk::Frame& flashBox, const Arrays::ChannelList& list, const tk::OptionButton& source,
               std::uint8_t& state);

}  // namespace engine
