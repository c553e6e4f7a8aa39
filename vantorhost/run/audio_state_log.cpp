#include "vantorhost/run/audio_state_log.h"

#include "files/printable.h"
#include "vantorhost/base/log.h"

namespace vantorhost {

void AudioStateLog::poll() {
  char line[256];
  const std::int32_t state = vbvis_state(line, sizeof line);
  if (state == VBVIS_STATE_CONNECTING || state == logged_) return;
  logged_ = state;
  // It may quote a source's name as the user wrote it.
  text_ = files::printable(line, files::kPathLimit);
  hostLog("audio: " + text_ + (state == VBVIS_STATE_PLAYING ? "" : "; trying again every second"));
}

}  // namespace vantorhost
