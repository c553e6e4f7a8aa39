#pragma once
// Link keeps time on its own clock (Linux: CLOCK_MONOTONIC_RAW), the host
// and the bridge on the steady clock (CLOCK_MONOTONIC), which the system may
// slew by a few parts in ten thousand. The two are tied by reading them one
// after the other, now, so the tie holds for the few seconds a beat is
// looked ahead.
#include <cstdint>
#include <functional>

namespace vantorhost {

using ClockUs = std::function<std::int64_t()>;

// `theirs` minus `ours` now, in microseconds: `ours` is read before and
// after `theirs`, a few times, and the tightest pair is taken, so a thread
// switched out between two reads does not skew it.
std::int64_t clockOffsetUs(const ClockUs& ours, const ClockUs& theirs);

}  // namespace vantorhost
