#pragma once
// The host window's status line: the first reason why no light moves, each
// with its remedy in a few words, in the order a user would look; or, when
// all is well, where the light goes.
#include <string>

#include "vantorhost/dmx/dmx_output.h"

namespace vantorhost {

struct LightFacts {
  bool windowOpen = false;  // Sonvero's main window is loaded
  bool outputOn = false;    // "DMX-Ausgabe aktiv" is ticked
  bool spectrumMuted = false, vuMuted = false;
  bool anyChannels = false;  // a bar or a list has channels
  bool silent = false;       // no sound from the source for a while
  std::string source;        // as the user knows it
  std::string sourceTrouble;  // the bridge's word on the source, when it has trouble
  DmxFacts dmx;
  bool operator==(const LightFacts&) const = default;
};

struct LightStatus {
  enum class Mood { Problem, Neutral, Good };
  std::string text;
  Mood mood = Mood::Problem;
};

inline constexpr int kSilentSeconds = 5;

LightStatus explainLights(const LightFacts& facts);

}  // namespace vantorhost
