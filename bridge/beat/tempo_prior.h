#pragma once
#include <cmath>

#include "bridge/maths/bell.h"

namespace vbvis {

inline constexpr double kSecondsPerMinute = 60.0;
// How likely a tempo is before the audio says anything: most music we
// follow lies near 120 BPM, an octave away is already unlikely, so where the
// onsets fit two tempi alike (a beat and its half or double) this decides.
inline constexpr double kPriorBpm = 120.0;
inline constexpr double kPriorOctaves = 1.0;  // the bell's width

// The prior of a beat `period` onset frames long at `framesPerSecond`:
// 1 at kPriorBpm, falling on a bell over octaves.
inline double tempoPrior(double period, double framesPerSecond) {
  return bell(std::log2(period / (kSecondsPerMinute / kPriorBpm * framesPerSecond)) / kPriorOctaves);
}

}  // namespace vbvis
