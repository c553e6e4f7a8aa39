#include "vantorhost/link/clock_offset.h"

#include <limits>

namespace vantorhost {

std::int64_t clockOffsetUs(const ClockUs& ours, const ClockUs& theirs) {
  constexpr int kReads = 3;
  std::int64_t best = 0, tightest = std::numeric_limits<std::int64_t>::max();
  for (int i = 0; i < kReads; ++i) {
    const std::int64_t before = ours();
    const std::int64_t other = theirs();
    const std::int64_t after = ours();
    if (after - before >= tightest) continue;
    tightest = after - before;
    best = other - (before + (after - before) / 2);
  }
  return best;
}

}  // namespace vantorhost
