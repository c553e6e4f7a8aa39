#pragma once
// How the tick's stages write what they computed: one value to every
// channel of a list, one percentage onto a level meter.
#include <cstdint>

#include "hostlink/vantor.h"
#include "model/arrays.h"
#include "toolkit/level_meter.h"

inline void sendToList(const Arrays::ChannelList& list, std::int32_t value) {
  Arrays::forEachChannel(list, [value](std::int16_t channel) {
    std::int32_t v = value;
    Vantor::OutputChannel(channel, v);
  });
}

// Every meter update is the widget's pair of operations: clear, then show.
inline void showOnMeter(tk::LevelMeter& meter, std::int16_t percent) {
  meter.clear();
  meter.show(percent);
}
