#include "vantorhost/dmx/retry_delay.h"

namespace vantorhost {

namespace {
// Attempts at each step before the wait doubles: 2 s at 250 ms, 4 s at 500 ms.
constexpr int kAttemptsPerStep = 8;
}  // namespace

std::int64_t RetryDelay::next() {
  const int step = failures_ / kAttemptsPerStep;
  if (failures_ < 3 * kAttemptsPerStep) ++failures_;
  const std::int64_t delay = kFirstMs << step;
  return delay < kLongestMs ? delay : kLongestMs;
}

}  // namespace vantorhost
