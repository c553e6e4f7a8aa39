#include "vantorhost/run/light_status.h"

namespace vantorhost {

LightStatus explainLights(const LightFacts& f) {
  using Mood = LightStatus::Mood;
  if (!f.windowOpen) return {"Sonvero's window is closed: click \"Open Sonvero\""};
  if (!f.outputOn) return {"DMX output is off: tick \"DMX-Ausgabe aktiv\""};
  if (f.spectrumMuted && f.vuMuted) return {"Spectrum and VU are muted: untick their \"Mute\" boxes"};
  if (!f.anyChannels) return {"No bar and no list has channels: add a bar with \"+\", or click L, R or ch"};
  if (f.silent) {
    std::string text = "No sound from " + f.source + " for " + std::to_string(kSilentSeconds) + " s";
    if (!f.sourceTrouble.empty()) text += " (" + f.sourceTrouble + ")";
    return {text + ": play something or choose another source"};
  }
  const std::string first = std::to_string(f.dmx.firstUniverse), second = std::to_string(f.dmx.firstUniverse + 1);
  switch (f.dmx.state) {
    case DmxFacts::State::MonitorOnly:
      return {"The DMX monitor is the only output (" + f.dmx.monitorOnlyWhy + ")", Mood::Neutral};
    case DmxFacts::State::Connecting:
      return {"Connecting to OLA", Mood::Neutral};
    case DmxFacts::State::Unreachable:
      return {"OLA not reachable: start olad"};
    case DmxFacts::State::Sending:
      break;
  }
  if (!f.dmx.unpatched.empty())
    return {"OLA universe " + std::to_string(f.dmx.unpatched.front()) +
            " has no output patched: patch one in olad (http://localhost:9090)"};
  return {"Sending to OLA universes " + first + " and " + second, Mood::Good};
}

}  // namespace vantorhost
