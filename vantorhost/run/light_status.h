#pragma once
// The host window's status line: the first reason why no light moves, each
// with its remedy in a few words, in the order a user would look; or, when
// all is well, where the light goes.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vantorhost/dmx/dmx_output.h"

namespace vantorhost {

struct LightFacts {
  bool blackout = false;     // the host's blackout is on
  int masterPercent = 100;   // the host's grand master
  bool windowOpen = false;  // Sonvero's main window is loaded
  bool outputOn = false;    // "DMX-Ausgabe aktiv" is ticked
  bool spectrumMuted = false, vuMuted = false;
  bool anyChannels = false;  // a bar or a list has channels
  bool beatsLight = false;   // the beat output has a pattern with channels
  bool silent = false;       // no sound from the source for a while
  // The music too quiet for light to follow: its loudest level meanwhile
  // (QuietInput), and whether the gain is a fixed one.
  std::optional<double> quietInputDb;
  bool fixedGain = false;
  std::string source;        // as the user knows it
  std::string sourceTrouble;  // the bridge's word on the source, when it has trouble
  DmxFacts dmx;
  // Whether the design sends to the first and the second universe: a
  // universe it does not use needs no output in olad.
  std::array<bool, 2> universesInUse{true, true};
  bool operator==(const LightFacts&) const = default;
};

struct LightStatus {
  enum class Mood { Problem, Neutral, Good };
  std::string text;
  Mood mood = Mood::Problem;
};

inline constexpr int kSilentSeconds = 5;

LightStatus explainLights(const LightFacts& facts);

// Which of the two universes channels 1..512 and 513..1024 carry the given
// channels (others are ignored).
std::array<bool, 2> universesOf(const std::vector<std::int16_t>& channels);

}  // namespace vantorhost
