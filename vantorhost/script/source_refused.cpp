#include "vantorhost/script/source_refused.h"

#include "bridge/vbvis.h"
#include "files/printable.h"

namespace vantorhost {

std::string sourceRefused(const std::string& uri) {
  return "cannot take the audio source " + files::printable(uri, files::kPathLimit) + ": " +
         files::printable(vbvis_open_error(), files::kPathLimit);
}

}  // namespace vantorhost
