#include "vantorhost/output/tracker_clock.h"

#include <cstdlib>

namespace vantorhost {

TrackerClock::TrackerClock()
    : TrackerClock(
          [](vbvis_tracker_state& state, std::int64_t) {
            vbvis_tracker(&state);
            return true;
          },
          [] { return vbvis_clock_us(); }) {}

TrackerClock::TrackerClock(ReadTracker readTracker, BridgeClockUs bridgeClockUs)
    : readTracker_(std::move(readTracker)), bridgeClockUs_(std::move(bridgeClockUs)) {}

std::int64_t TrackerClock::nextBeatUs(const vbvis_tracker_state& state) const {
  if (!state.locked) return -1;
  // A prediction within half a beat of the last one given is that beat again.
  const std::int64_t after = lastBeatUs_ < 0 ? -1 : lastBeatUs_ + state.period_us / 2;
  for (const std::int64_t beat : state.next_beats_us)
    if (beat >= 0 && beat > after) return beat;
  return -1;
}

void TrackerClock::followPending(const vbvis_tracker_state& state, std::int64_t bridgeNowUs, bool sameSource) {
  if (!sameSource && pendingUs_ >= 0) otherSourcesPromise_ = true;
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
      otherSourcesPromise_ = false;
      return;
    }
  // Not listed any more and not heard yet: the beat moved (the operator
  // tapped or nudged it), so the next one listed is the promise now. What
  // another source promised before it gave way still goes out: a change of
  // source costs no beat.
  if (pendingUs_ > bridgeNowUs && !otherSourcesPromise_) pendingUs_ = nextBeatUs(state);
}

TrackerReading TrackerClock::read(std::int64_t nowMs, std::int64_t leadUs) {
  const std::int64_t bridgeNowUs = bridgeClockUs_();
  vbvis_tracker_state state{};
  const bool sameSource = readTracker_(state, bridgeNowUs + leadUs - kLateLimitUs);
  TrackerReading reading;
  reading.bpm = state.locked ? state.bpm : 0;
  for (followPending(state, bridgeNowUs, sameSource); pendingUs_ >= 0; pendingUs_ = nextBeatUs(state)) {
    const std::int64_t dueUs = pendingUs_ - leadUs;
    if (dueUs > bridgeNowUs + kDueWithinUs) break;
    lastBeatUs_ = pendingUs_;
    otherSourcesPromise_ = false;
    if (bridgeNowUs - dueUs > kLateLimitUs) continue;
    reading.beatDue = true;
    reading.beatUs = pendingUs_;
  }
  // Whole milliseconds, to the nearest: the beat is more than kDueWithinUs away.
  if (pendingUs_ >= 0) reading.nextMs = nowMs + (pendingUs_ - leadUs - bridgeNowUs + 500) / 1000;
  return reading;
}

}  // namespace vantorhost
