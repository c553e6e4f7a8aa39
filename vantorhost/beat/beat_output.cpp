#include "vantorhost/beat/beat_output.h"

#include <algorithm>

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

void BeatOutput::fire(std::int64_t nowMs, double bpm) {
  ++count_;
  litUntilMs_ = nowMs + look_.flashMs;
  if (look_.mode == BeatLook::Mode::Chase) {
    chaseLit_ = look_.channels[chaseNext_ % look_.channels.size()];
    chaseNext_ = (chaseNext_ + 1) % look_.channels.size();
  }
  if (onBeat) onBeat(count_, bpm);
}

std::int64_t BeatOutput::service(std::int64_t nowMs) {
  if (!look_.on()) return -1;
  const BeatClock::Look beat = clock_.look(nowMs);
  if (beat.beat) fire(nowMs, beat.bpm);
  std::int64_t wake = beat.nextMs;
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
