#include "vantorhost/dmx/retry_delay.h"

namespace vantorhost {

std::int64_t RetryDelay::next() {
  const int step = failures_ / attemptsPerStep_;
  const std::int64_t delay = kFirstMs << step;
  if (delay < longestMs_) ++failures_;
  return delay < longestMs_ ? delay : longestMs_;
}

}  // namespace vantorhost
