#pragma once
// The command line, read into the host's options. Every number on it is
// decimal (a leading zero is only a zero), and the value checked is the
// value used.
#include <optional>

#include "vantorhost/base/host_options.h"

namespace vantorhost {

// Fills `options` from argv; gives the exit status when the program ends
// here (--help, --version, or a command line it refuses, with the reason
// on standard error).
std::optional<int> readCommandLine(int argc, const char* const* argv, HostOptions& options);

}  // namespace vantorhost
