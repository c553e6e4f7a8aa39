#pragma once
#include "vantorhost/base/host_options.h"

namespace vantorhost {

// Runs the mode the options chose; returns the process exit status.
int runHost(HostOptions& options);

}  // namespace vantorhost
