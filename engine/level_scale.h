#pragma once
// The scales the level and beat stages convert between: a side level (full
// scale 16000), a percentage 0..100 and the channel scale 0..255.
#include <cstdint>

#include "engine/rounding.h"

namespace engine {

// round((100 / 16000) x level): the quotient first, as the level meters
// have always scaled it.
inline std::int16_t levelPercent(std::int16_t level) { return roundToInt16((100.0 / 16000.0) * level); }

// A 0..255 value as the percentage a meter shows.
inline std::int16_t channelPercent(std::int32_t value) { return roundToInt16(value / 2.55); }

// A beat threshold on the 0..255 scale as a percentage, unrounded, for the
// strict comparison with a rounded input percentage.
inline double thresholdPercent(std::int16_t threshold) { return threshold / 2.55; }

}  // namespace engine
