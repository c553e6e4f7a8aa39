#include "vantorhost/dmx/send_schedule.h"

namespace vantorhost {

void SendSchedule::sent(std::int64_t nowMs) {
  dirty_ = false;
  sentOnce_ = true;
  lastSentMs_ = nowMs;
}

bool SendSchedule::due(std::int64_t nowMs) const {
  if (!sentOnce_) return true;
  const std::int64_t since = nowMs - lastSentMs_;
  // A clock that went backwards must not stall the output.
  if (since < 0) return true;
  return since >= kRefreshMs || (dirty_ && since >= kMinGapMs);
}

std::int64_t SendSchedule::nextDueMs(std::int64_t nowMs) const {
  if (due(nowMs)) return nowMs;
  return lastSentMs_ + (dirty_ ? kMinGapMs : kRefreshMs);
}

}  // namespace vantorhost
