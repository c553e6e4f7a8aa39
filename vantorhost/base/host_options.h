#pragma once
#include <optional>
#include <string>

#include "vantorhost/base/gain_choice.h"

namespace vantorhost {

// The command line, parsed.
struct HostOptions {
  enum class Mode { Desktop, Headless, Script, ListSources, ListBins };
  Mode mode = Mode::Desktop;
  std::string scriptPath;
  std::string tracePath;               // empty: standard output
  std::optional<std::string> audio;    // bridge source URI; unset: the mode's default
  std::string dmx = "auto";            // "ola", "none" or "auto" (OLA when olad answers)
  int universe = 1;
  int olaPort = 9010;
  std::string settingsDir;
  std::string pluginPath;
  std::string showPath;                // --show: start with this show instead of the last design
  bool noShow = false;                 // --no-show: start with an empty design
  std::optional<int> delayMs;          // --delay: output delay; unset: the one the host window kept
  std::optional<GainChoice> gain;      // --gain: live runs, else the kept one (else auto); scripts, else 0 dB
  bool link = false;                   // --link: join the Link session (live runs also when the host window kept it on)
};

}  // namespace vantorhost
