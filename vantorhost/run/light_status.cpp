#include "vantorhost/run/light_status.h"

#include <cmath>

namespace vantorhost {

LightStatus explainLights(const LightFacts& f) {
  using Mood = LightStatus::Mood;
  if (f.blackout) return {"Blackout: every channel sends 0; press B or click \"Blackout\" to bring the light back"};
  if (f.masterPercent <= 0) return {"The master is at 0 %: raise it to let the light out"};
  if (!f.windowOpen) return {"Sonvero's window is closed: click \"Open Sonvero\""};
  if (!f.outputOn) return {"DMX output is off: tick \"DMX-Ausgabe aktiv\""};
  // The mutes silence the bars and levels, not the beat output.
  if (f.spectrumMuted && f.vuMuted && !f.beatsLight) return {"Spectrum and VU are muted: untick their \"Mute\" boxes"};
  if (!f.anyChannels && !f.beatsLight) return {"No bar and no list has channels: add a bar with \"+\", or click L, R or ch"};
  if (f.silent) {
    std::string text = "No sound from " + f.source + " for " + std::to_string(kSilentSeconds) + " s";
    if (!f.sourceTrouble.empty()) text += " (" + f.sourceTrouble + ")";
    return {text + ": play something or choose another source"};
  }
  if (f.quietInputDb)
    return {"The music is very quiet (" + std::to_string(std::lround(*f.quietInputDb)) +
            " dBFS): raise the player's volume or " + (f.fixedGain ? "the fixed gain" : "choose a fixed gain")};
  const std::string first = std::to_string(f.dmx.firstUniverse), second = std::to_string(f.dmx.firstUniverse + 1);
  switch (f.dmx.state) {
    case DmxFacts::State::MonitorOnly:
      return {"The DMX monitor is the only output (" + f.dmx.monitorOnlyWhy + "): " + f.dmx.monitorOnlyRemedy,
              Mood::Neutral};
    case DmxFacts::State::Looking:
      return {"The DMX monitor is the only output until olad answers: start olad, and Sonvero sends to it by itself",
              Mood::Neutral};
    case DmxFacts::State::Connecting:
      return {"Connecting to OLA", Mood::Neutral};
    case DmxFacts::State::Unreachable:
      return {"OLA not reachable: start olad"};
    case DmxFacts::State::Sending:
      break;
  }
  for (const unsigned universe : f.dmx.unpatched)
    if (const unsigned index = universe - f.dmx.firstUniverse; index < 2 && f.universesInUse[index])
      return {"OLA universe " + std::to_string(universe) +
              " has no output patched: patch one in olad (http://localhost:9090)"};
  if (f.universesInUse[0] != f.universesInUse[1])
    return {"Sending to OLA universe " + (f.universesInUse[0] ? first : second), Mood::Good};
  return {"Sending to OLA universes " + first + " and " + second, Mood::Good};
}

std::array<bool, 2> universesOf(const std::vector<std::int16_t>& channels) {
  std::array<bool, 2> used{};
  for (const std::int16_t c : channels)
    if (c >= 1 && c <= ChannelBuffer::kChannels) used[static_cast<std::size_t>((c - 1) / ChannelBuffer::kUniverseSize)] = true;
  return used;
}

}  // namespace vantorhost
