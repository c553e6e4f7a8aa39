#include "vantorhost/output/beat_layer.h"

#include <algorithm>

namespace vantorhost {

BeatLayer::BeatLayer(std::int64_t outputLatencyUs, BeatOutput beats)
    : beats_(std::move(beats)), outputLatencyUs_(outputLatencyUs) {}

void BeatLayer::follow(std::int64_t nowMs, std::int64_t delayMs) {
  beats_.setLeadUs(outputLatencyUs_ - delayMs * 1000);
  wakeMs_ = beats_.service(nowMs);
  if (beats_.count() == fired_) return;
  fired_ = beats_.count();
  firedAtMs_ = nowMs;
}

std::int64_t BeatLayer::nextChangeMs(std::int64_t afterMs) const {
  std::int64_t next = -1;
  // A light's end that the output already passed still counts: the path
  // must render the frame in which it went out.
  for (const std::int64_t at : {firedAtMs_, beats_.litUntilMs(), wakeMs_})
    if (at > afterMs) next = next < 0 ? at : std::min(next, at);
  return next;
}

}  // namespace vantorhost
