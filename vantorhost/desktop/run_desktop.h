#pragma once
#include "vantorhost/base/host_options.h"

namespace vantorhost {

// The Qt desktop; without a display it runs headless. Returns the exit status.
int runDesktop(const HostOptions& options);

}  // namespace vantorhost
