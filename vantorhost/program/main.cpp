// sonvero: the lighting host's stand-in. Loads the plug-in, hands it the
// helper object, shows its main window and drives it: on the desktop, headless
// on the real clock, or from a session script on simulated time.
#include "vantorhost/program/command_line.h"
#include "vantorhost/program/run_modes.h"

int main(int argc, char** argv) {
  vantorhost::HostOptions options;
  if (const std::optional<int> ended = vantorhost::readCommandLine(argc, argv, options)) return *ended;
  return vantorhost::runHost(options);
}
