// A bridge that records the calls the spectrum wrapper makes, with a count
// and a text set by the test.
#include "tests/audio/recording_bridge.h"

#include <algorithm>
#include <cstring>

#include "audio/vbvis/vbvis.h"

RecordingBridge recordingBridge;

extern "C" {

int16_t vbvis_spectrum(int32_t side, char* buffer, int32_t length) {
  recordingBridge.calls.push_back({side, buffer ? std::string(buffer, static_cast<size_t>(length)) : "", length,
                                   buffer != nullptr});
  if (buffer && length > 0)
    std::memcpy(buffer, recordingBridge.text.data(), std::min<size_t>(static_cast<size_t>(length), recordingBridge.text.size()));
  return recordingBridge.count;
}

int16_t vbvis_vu(int32_t side) {
  recordingBridge.vuSides.push_back(side);
  return recordingBridge.level;
}

}  // extern "C"
