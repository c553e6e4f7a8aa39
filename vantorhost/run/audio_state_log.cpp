#include "vantorhost/run/audio_state_log.h"

#include "vantorhost/base/log.h"

namespace vantorhost {

void AudioStateLog::poll() {
  char line[256];
  const std::int32_t state = vbvis_state(line, sizeof line);
  if (state == VBVIS_STATE_CONNECTING || state == logged_) return;
  logged_ = state;
  text_ = line;
  hostLog("audio: " + text_ + (state == VBVIS_STATE_PLAYING ? "" : "; trying again every second"));
}

}  // namespace vantorhost
