#include "vantorhost/run/default_audio_source.h"

#include "bridge/vbvis.h"
#include "vantorhost/base/log.h"

namespace vantorhost {

std::string defaultAudioSource() {
  if (vbvis_sound_server_available()) {
    hostLog("a sound server answers: listening to what this computer plays");
    return "pulse";
  }
  hostLog("no sound server answers: playing the demo track");
  return "demo";
}

}  // namespace vantorhost
