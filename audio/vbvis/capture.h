#pragma once
#include <atomic>

#include "audio/vbvis/frame_ring.h"
#include "audio/vbvis/source_state.h"

namespace vbvis {

// What runs on the capture thread: fills the ring until told to stop. A
// capture never gives up on its own: a failing source is reopened.
class Capture {
 public:
  virtual ~Capture() = default;
  virtual int sampleRate() const = 0;
  virtual void run(FrameRing& ring, const std::atomic<bool>& stop) = 0;
  // What the source says about itself, for a source that can fail; none
  // for one that always plays.
  virtual const SourceState* state() const { return nullptr; }
};

}  // namespace vbvis
