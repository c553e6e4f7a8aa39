#pragma once
// Sending one value to every channel of a list, the way every engine stage
// writes its output.
#include <cstdint>

#include "hostlink/vantor.h"
#include "model/arrays.h"

namespace engine {

inline void sendToList(const Arrays::ChannelList& list, std::int32_t value) {
  Arrays::forEachChannel(list, [value](std::int16_t channel) {
    std::int32_t v = value;
    Vantor::OutputChannel(channel, v);
  });
}

}  // namespace engine
