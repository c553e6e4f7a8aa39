#pragma once
// Why the bridge did not take an audio source, as every message says it:
// the source and the bridge's reason (a missing file, a folder, a FIFO, an
// empty file, a header it cannot read), escaped.
#include <string>

namespace vantorhost {

// Right after vbvis_open(uri) failed.
std::string sourceRefused(const std::string& uri);

}  // namespace vantorhost
