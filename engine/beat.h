#pragma once
// The beat detectors' decisions: when a detector is on, and when its state
// becomes a message to the host's beat tool.
#include <cstdint>

#include "engine/level_scale.h"

namespace engine {

// On while the input percentage is strictly above the beat threshold
// (0..255, compared as an unrounded percentage).
inline bool beatOn(std::int16_t percent, std::int16_t threshold) { return percent > thresholdPercent(threshold); }

// A beat message goes out when the state is 1 and the detector is armed;
// sending disarms it, and only a tick with the state not 1 arms it again.
// Returns whether to send.
inline bool beatRises(std::uint8_t state, std::uint8_t& armed) {
  if (state != 1) {
    armed = 1;
    return false;
  }
  if (armed != 1) return false;
  armed = 0;
  return true;
}

}  // namespace engine
