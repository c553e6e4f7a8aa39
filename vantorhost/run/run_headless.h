#pragma once
#include "vantorhost/base/host_options.h"

namespace vantorhost {

// No windows, on the real clock, until a stop signal; returns the exit status.
int runHeadless(const HostOptions& options);

}  // namespace vantorhost
