#pragma once
// What the two live run modes (desktop and headless) share: the audio
// source, the stop signals and loading the plug-in.
#include "vantorhost/host_options.h"
#include "vantorhost/host_session.h"
#include "vantorhost/show/kept_show.h"

namespace vantorhost {

// Opens the source the options name and logs which one it took; false
// (logged) when the URI is not understood or the file cannot be read.
bool openAudioSource(const HostOptions& options);
// Ctrl-C, SIGTERM and SIGHUP ask for a stop (the main window then closes
// properly, so its settings are saved, and the last DMX values go out); a
// closed socket never kills the program.
void catchStopSignals();
bool stopRequested();
// Loads the plug-in and its window with the design `show` starts with;
// false (logged) when it cannot.
bool startPlugin(HostSession& session, KeptShow& show);

}  // namespace vantorhost
