#include "vantorhost/beat/beat_clock.h"

#include <cstdlib>

namespace vantorhost {

BeatClock::BeatClock()
    : BeatClock([](vbvis_tracker_state& state) { vbvis_tracker(&state); }, [] { return vbvis_clock_us(); }) {}

BeatClock::BeatClock(ReadTracker readTracker, BridgeClockUs bridgeClockUs)
    : readTracker_(std::move(readTracker)), bridgeClockUs_(std::move(bridgeClockUs)) {}

std::int64_t BeatClock::nextBeatUs(const vbvis_tracker_state& state) const {
  if (!state.locked) return -1;
  // A prediction within half a beat of the last one given is that beat again.
  const std::int64_t after = lastBeatUs_ < 0 ? -1 : lastBeatUs_ + state.period_us / 2;
  for (const std::int64_t beat : state.next_beats_us)
    if (beat >= 0 && beat > after) return beat;
  return -1;
}

void BeatClock::followPending(const vbvis_tracker_state& state) {
  if (!state.locked) {
    pendingUs_ = -1;
    return;
  }
  if (pendingUs_ < 0) {
    pendingUs_ = nextBeatUs(state);
    return;
  }
  for (const std::int64_t beat : state.next_beats_us)
    if (beat >= 0 && std::abs(beat - pendingUs_) < state.period_us / 2) {
      pendingUs_ = beat;
      return;
    }
}

BeatClock::Look BeatClock::look(std::int64_t nowMs) {
  vbvis_tracker_state state{};
  readTracker_(state);
  Look look;
  look.bpm = state.locked ? state.bpm : 0;
  const std::int64_t bridgeNowUs = bridgeClockUs_();
  for (followPending(state); pendingUs_ >= 0; pendingUs_ = nextBeatUs(state)) {
    const std::int64_t dueUs = pendingUs_ - leadUs_;
    if (dueUs > bridgeNowUs + kDueWithinUs) break;
    lastBeatUs_ = pendingUs_;
    if (bridgeNowUs - dueUs <= kLateLimitUs) look.beat = true;
  }
  // Whole milliseconds, to the nearest: the beat is more than kDueWithinUs away.
  if (pendingUs_ >= 0) look.nextMs = nowMs + (pendingUs_ - leadUs_ - bridgeNowUs + 500) / 1000;
  return look;
}

}  // namespace vantorhost
