#include "vantorhost/output/beat_output.h"

#include <algorithm>

namespace vantorhost {

BeatOutput::BeatOutput(std::int64_t outputLatencyUs, TrackerClock clock)
    : clock_(std::move(clock)), outputLatencyUs_(outputLatencyUs) {}

void BeatOutput::setPattern(BeatPattern pattern) {
  // Another list starts afresh: no channel of the old one stays lit.
  if (pattern.channels != pattern_.channels) {
    chaseNext_ = 0;
    nextInBar_ = -1;
    litUntilMs_ = -1;
  }
  pattern_ = std::move(pattern);
  pattern_.flashMs = std::clamp(pattern_.flashMs, kMinFlashMs, kMaxFlashMs);
  if (!pattern_.on()) litUntilMs_ = -1;
}

void BeatOutput::setAllowed(bool allowed) {
  allowed_ = allowed;
  if (!allowed_) litUntilMs_ = -1;
}

void BeatOutput::fire(std::int64_t nowMs, double bpm, int inBar) {
  ++count_;
  firedAtMs_ = nowMs;
  litUntilMs_ = nowMs + pattern_.flashMs;
  if (pattern_.mode == BeatPattern::Mode::Chase) {
    const std::size_t length = pattern_.channels.size();
    // Onto the bar when it first comes to know one, and again whenever a
    // beat is not the one the chase awaits (a beat let go, the bar moved).
    if (inBar >= 0 && inBar != nextInBar_) chaseNext_ = static_cast<std::size_t>(inBar) % length;
    nextInBar_ = inBar >= 0 ? (inBar + 1) % kBeatsPerBar : -1;
    chaseLit_ = pattern_.channels[chaseNext_ % length];
    chaseNext_ = (chaseNext_ + 1) % length;
  }
  if (onBeat) onBeat(count_, bpm);
}

void BeatOutput::follow(std::int64_t nowMs, std::int64_t delayMs) {
  wakeMs_ = -1;
  if (!pattern_.on()) return;
  // Read while light may not go out too, so that a beat given meanwhile
  // does not go out late once it may.
  const TrackerReading reading = clock_.read(nowMs, outputLatencyUs_ - delayMs * 1000);
  if (!allowed_) return;
  if (reading.beatDue) fire(nowMs, reading.bpm, barPlace ? barPlace(reading.beatUs) : -1);
  wakeMs_ = reading.nextMs;
  if (litUntilMs_ > nowMs) wakeMs_ = wakeMs_ < 0 ? litUntilMs_ : std::min(wakeMs_, litUntilMs_);
}

void BeatOutput::mergeHtp(Channels channels, std::int64_t nowMs) const {
  if (!lit(nowMs)) return;
  const auto light = [&](std::int16_t channel) {
    if (channel >= 1 && static_cast<std::size_t>(channel) <= channels.size())
      channels[static_cast<std::size_t>(channel - 1)] = 255;
  };
  if (pattern_.mode == BeatPattern::Mode::Chase) light(chaseLit_);
  else std::for_each(pattern_.channels.begin(), pattern_.channels.end(), light);
}

std::int64_t BeatOutput::nextChangeMs(std::int64_t afterMs) const {
  std::int64_t next = -1;
  // A light's end that the output already passed still counts: the path
  // must render the frame in which it went out.
  for (const std::int64_t at : {firedAtMs_, litUntilMs_, wakeMs_})
    if (at > afterMs) next = next < 0 ? at : std::min(next, at);
  return next;
}

}  // namespace vantorhost
