#pragma once
#include "vantorhost/host_options.h"

namespace vantorhost {

// Runs the mode the options chose; returns the process exit status.
int runHost(HostOptions& options);
int runScript(const HostOptions& options);
int runHeadless(const HostOptions& options);
// The Qt desktop; without a display it runs headless.
int runDesktop(const HostOptions& options);

}  // namespace vantorhost
