#include "vantorhost/dmx/retry_delay.h"

namespace vantorhost {

namespace {
// Attempts at each step before the wait doubles: 2 s at 250 ms, 4 s at 500 ms, ...
constexpr int kAttemptsPerStep = 8;
}  // namespace

std::int64_t RetryDelay::next() {
  const int step = failures_ / kAttemptsPerStep;
  const std::int64_t delay = kFirstMs << step;
  if (delay < longestMs_) ++failures_;
  return delay < longestMs_ ? delay : longestMs_;
}

}  // namespace vantorhost
