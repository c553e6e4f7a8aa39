#pragma once
// The audio source's state as the bridge reports it (vbvis_state), polled
// by the host: one log line per change (the sound server going away and
// coming back, a named source missing), nothing while it stays.
#include <cstdint>
#include <string>

#include "bridge/vbvis.h"

namespace vantorhost {

class AudioStateLog {
 public:
  // Reads the state and logs it when it changed. The first answer of a
  // source that works is no change: "audio source: URI" has said it.
  void poll();
  std::int32_t state() const { return logged_; }
  // The bridge's line about the state last logged (empty before the first change).
  const std::string& text() const { return text_; }

 private:
  std::int32_t logged_ = VBVIS_STATE_PLAYING;
  std::string text_;
};

}  // namespace vantorhost
