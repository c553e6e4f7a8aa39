#pragma once
#include <cstdint>
#include <string>

#include "vantorhost/dmx/ola_link.h"

namespace vantorhost {

// OLA's client libraries, and protobuf under them, live in a library of
// their own (libsonvero-ola.so, shipped beside the others) that is loaded with the
// first OLA output: a run that sends nowhere never maps them.
using OlaConnect = OlaAttempt (*)(std::uint16_t port, bool askFirst);

// connectToOlad from that library, loaded on first use and kept for the
// rest of the run (its links live as long as the output); nullptr when it
// cannot be loaded, with the loader's reason in `why`.
OlaConnect olaSupport(std::string& why);

}  // namespace vantorhost
