#pragma once
#include <memory>

#include "audio/vbvis/capture.h"
#include "audio/vbvis/frame_generator.h"

namespace vbvis {

// Plays a file or the demo track in real time: the capture thread hands
// the ring as many frames as the wall clock says have played.
class PacedCapture : public Capture {
 public:
  explicit PacedCapture(std::unique_ptr<FrameGenerator> generator) : generator_(std::move(generator)) {}
  int sampleRate() const override { return generator_->sampleRate(); }
  void run(FrameRing& ring, const std::atomic<bool>& stop) override;

 private:
  std::unique_ptr<FrameGenerator> generator_;
};

}  // namespace vbvis
