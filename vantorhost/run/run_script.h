#pragma once
#include "vantorhost/base/host_options.h"

namespace vantorhost {

// A session script on simulated time, writing its trace; returns the exit
// status (0 ran to its end, 2 a malformed line, 1 cannot load, read or write).
int runScript(const HostOptions& options);

}  // namespace vantorhost
