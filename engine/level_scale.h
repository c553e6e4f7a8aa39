#pragma once
// The scales the level and beat stages convert between: a side level (full
// scale 16000), a percentage 0..100, the channel scale 0..255, and the
// height of a threshold's marker line.
#include <cstdint>

#include "engine/rounding.h"
#include "engine/threshold.h"

namespace engine {

// round((100 / 16000) x level): the quotient first, as the level meters
// have always scaled it.
inline std::int16_t levelPercent(std::int16_t level) { return roundToInt16((100.0 / 16000.0) * level); }

// A 0..255 value as the percentage a meter shows.
inline std::int16_t channelPercent(std::int32_t value) { return roundToInt16(value / 2.55); }

// A spectrum bin (0..255, unboosted) as a percentage.
inline std::int16_t binPercent(std::uint8_t bin) { return roundToInt16(bin / 255.0 * 100); }

// A beat threshold on the 0..255 scale as a percentage, unrounded, for the
// strict comparison with a rounded input percentage.
inline double thresholdPercent(std::int16_t threshold) { return threshold / 2.55; }

// A level output's value from its side's percentage: the percentage back
// on the channel scale (unrounded) switches against the threshold; what
// passes is that value rounded, or the set value.
inline std::int32_t vuValue(std::int16_t percent, const Threshold& t) {
  if (!(percent * 2.55 > t.threshold)) return 0;
  return t.setOnExceed ? t.setValue : roundToInt32(percent * 2.55);
}

// Where a threshold's marker line stands: 0..255 onto a scale that runs up
// from `bottom` over `span` twips, computed in double precision and handed
// on in single precision.
inline float markerY(double bottom, double span, std::int16_t threshold) {
  return static_cast<float>(bottom - (threshold / 255.0) * span);
}

}  // namespace engine
