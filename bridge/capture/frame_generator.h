#pragma once
#include <cstddef>

namespace vbvis {

// A source that can give any number of frames at once: an audio file or
// the demo track. The feeds decide when to ask (real time or the
// simulated clock).
class FrameGenerator {
 public:
  virtual ~FrameGenerator() = default;
  virtual int sampleRate() const = 0;
  // Fills `frames` interleaved stereo frames, full scale +-1.0.
  virtual void read(float* stereo, std::size_t frames) = 0;
  // Moves on by `frames` without reading them.
  virtual void skip(std::size_t frames) = 0;
};

}  // namespace vbvis
