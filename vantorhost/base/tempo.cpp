#include "vantorhost/base/tempo.h"

#include <cstdio>

namespace vantorhost {

std::string tempoText(const Tempo& tempo) {
  if (!tempo.known()) return "--";
  char text[32];
  std::snprintf(text, sizeof text, "%s%.1f", tempo.steady ? "" : "~", tempo.bpm);
  return text;
}

}  // namespace vantorhost
