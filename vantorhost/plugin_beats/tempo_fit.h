#pragma once
// The tempo of a run of beats. The plug-in sends a beat from its 75 ms tick,
// so a beat message comes up to one tick after the beat itself: gaps of 450
// and 525 ms stand for 500. A fit over many beats sees through that: the
// beats must lie on a grid of one period, each at most a tick after its
// grid line, and the period is the middle of all the periods that allow it.
#include <cstdint>
#include <span>

#include "vantorhost/base/tempo.h"

namespace vantorhost {

inline constexpr std::int64_t kBeatTickMs = 75;
// A fit uses at most this many of the latest beats; below kSteadyBeats it is
// not called steady.
inline constexpr int kFitBeats = 16;
inline constexpr int kSteadyBeats = 8;

// The tempo of beats at these times (ms, ascending), robust to a missed beat
// (a gap of two periods) and to an extra one (off the grid). None for fewer
// than three beats.
Tempo fitTempo(std::span<const std::int64_t> beatTimesMs);

}  // namespace vantorhost
