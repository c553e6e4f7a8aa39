#include "vantorhost/beat/beat_output.h"

#include <algorithm>
#include <cstdlib>

namespace vantorhost {

std::string beatLookText(const BeatLook& look) {
  if (look.mode == BeatLook::Mode::Off) return "off";
  std::string text = (look.mode == BeatLook::Mode::Flash ? "flash " : "chase ") + std::to_string(look.flashMs);
  for (std::int16_t c : look.channels) text += " " + std::to_string(c);
  return text;
}

std::optional<BeatLook::Mode> beatModeNamed(const std::string& word) {
  if (word == "flash") return BeatLook::Mode::Flash;
  if (word == "chase") return BeatLook::Mode::Chase;
  if (word == "off") return BeatLook::Mode::Off;
  return std::nullopt;
}

BeatOutput::BeatOutput()
    : BeatOutput([](vbvis_tracker_state& state) { vbvis_tracker(&state); }, [] { return vbvis_clock_us(); }) {}

BeatOutput::BeatOutput(ReadTracker readTracker, BridgeClockUs bridgeClockUs)
    : readTracker_(std::move(readTracker)), bridgeClockUs_(std::move(bridgeClockUs)) {}

void BeatOutput::setLook(BeatLook look) {
  // Another list starts afresh: no channel of the old one stays lit.
  if (look.channels != look_.channels) {
    chaseNext_ = 0;
    litUntilMs_ = -1;
  }
  look_ = std::move(look);
  look_.flashMs = std::clamp(look_.flashMs, kMinFlashMs, kMaxFlashMs);
  if (!look_.on()) litUntilMs_ = -1;
}

std::int64_t BeatOutput::nextBeatUs(const vbvis_tracker_state& state) const {
  if (!state.locked) return -1;
  // A prediction within half a beat of the last one handled is that beat again.
  const std::int64_t after = lastBeatUs_ < 0 ? -1 : lastBeatUs_ + state.period_us / 2;
  for (const std::int64_t beat : state.next_beats_us)
    if (beat >= 0 && beat > after) return beat;
  return -1;
}

void BeatOutput::fire(std::int64_t nowMs, double bpm) {
  ++count_;
  litUntilMs_ = nowMs + look_.flashMs;
  if (look_.mode == BeatLook::Mode::Chase) {
    chaseLit_ = look_.channels[chaseNext_ % look_.channels.size()];
    chaseNext_ = (chaseNext_ + 1) % look_.channels.size();
  }
  if (onBeat) onBeat(count_, bpm);
}

void BeatOutput::followPending(const vbvis_tracker_state& state) {
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

std::int64_t BeatOutput::service(std::int64_t nowMs) {
  if (!look_.on()) return -1;
  vbvis_tracker_state state{};
  readTracker_(state);
  const std::int64_t bridgeNowUs = bridgeClockUs_();
  for (followPending(state); pendingUs_ >= 0; pendingUs_ = nextBeatUs(state)) {
    const std::int64_t leaveUs = pendingUs_ - leadUs_;
    if (leaveUs > bridgeNowUs + kDueWithinUs) break;
    lastBeatUs_ = pendingUs_;
    if (bridgeNowUs - leaveUs <= kLateLimitUs) fire(nowMs, state.bpm);
  }
  std::int64_t wake = -1;
  // Whole milliseconds, to the nearest: the beat is more than kDueWithinUs away.
  if (pendingUs_ >= 0) wake = nowMs + (pendingUs_ - leadUs_ - bridgeNowUs + 500) / 1000;
  if (litUntilMs_ > nowMs) wake = wake < 0 ? litUntilMs_ : std::min(wake, litUntilMs_);
  return wake;
}

void BeatOutput::raise(std::int64_t nowMs, std::span<std::uint8_t> channels) const {
  if (!lit(nowMs)) return;
  const auto light = [&](std::int16_t channel) {
    if (channel >= 1 && static_cast<std::size_t>(channel) <= channels.size())
      channels[static_cast<std::size_t>(channel - 1)] = 255;
  };
  if (look_.mode == BeatLook::Mode::Chase) light(chaseLit_);
  else std::for_each(look_.channels.begin(), look_.channels.end(), light);
}

}  // namespace vantorhost
