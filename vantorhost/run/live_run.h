#pragma once
// What the two live run modes (desktop and headless) share: the audio
// source, the stop signals and loading the plug-in.
#include <filesystem>

#include "vantorhost/base/host_options.h"
#include "vantorhost/run/host_settings.h"
#include "vantorhost/session/host_session.h"
#include "vantorhost/show/kept_show.h"

namespace vantorhost {

// Opens the source of a live run: --audio's, else the one the host window
// kept (a kept one that fails gives way to the default), else the default.
// False (logged) when --audio's cannot be taken.
bool openAudioSource(const HostOptions& options, const HostSettings& kept);
// The host settings file beside Sonvero.ini; empty when the plug-in does
// not say where that is.
std::filesystem::path hostSettingsFile(const HostSession& session);
// --delay's, else the one the host window kept, else none.
int startDelayMs(const HostOptions& options, const HostSettings& kept);
// --gain's, else the one the host window kept, else automatic.
GainChoice startGain(const HostOptions& options, const HostSettings& kept);
// Sets the bridge's gain to startGain's and logs it.
void applyStartGain(const HostOptions& options, const HostSettings& kept);
// Ctrl-C, SIGTERM and SIGHUP ask for a stop (the main window then closes
// properly, so its settings are saved, and the last DMX values go out); a
// closed socket never kills the program.
void catchStopSignals();
bool stopRequested();
// Loads the plug-in and its window with the design `show` starts with;
// false (logged) when it cannot.
bool startPlugin(HostSession& session, KeptShow& show);

}  // namespace vantorhost
