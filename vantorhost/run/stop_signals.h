#pragma once

namespace vantorhost {

// Ctrl-C, SIGTERM and SIGHUP ask for a stop (the main window then closes
// properly, so its settings are saved, and the last DMX values go out); a
// closed socket never kills the program.
void catchStopSignals();
bool stopRequested();

}  // namespace vantorhost
