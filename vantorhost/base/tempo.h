#pragma once
// A tempo as the host shows it, whoever measured it: the tempo fitted to the
// plug-in's beats, or the bridge's beat tracker's.
#include <string>

namespace vantorhost {

struct Tempo {
  double bpm = 0;       // 0: none
  bool steady = false;  // enough beats, all on one grid within a tick
  bool known() const { return bpm > 0; }
};

// "120.0", "~118.4" while not steady, "--" for none.
std::string tempoText(const Tempo& tempo);

}  // namespace vantorhost
