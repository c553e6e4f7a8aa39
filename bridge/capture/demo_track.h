#pragma once
#include <cstdint>

#include "bridge/capture/frame_generator.h"

namespace vbvis {

// Our own generated track for a first run without any audio: a steady
// 120 BPM kick on every beat, a bass line in eighths and hi-hats on the
// off-beats, 48 kHz stereo. Every sample is computed from its index alone,
// so skipping is free and two runs give the same audio.
class DemoTrack : public FrameGenerator {
 public:
  static constexpr int kRate = 48000;
  static constexpr int kBeatFrames = kRate / 2;  // 120 BPM

  int sampleRate() const override { return kRate; }
  void read(float* stereo, std::size_t frames) override;
  void skip(std::size_t frames) override { position_ += static_cast<std::int64_t>(frames); }

  // Left and right sample of frame `index`.
  static void frame(std::int64_t index, float& left, float& right);

 private:
  std::int64_t position_ = 0;
};

}  // namespace vbvis
