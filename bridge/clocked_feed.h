#pragma once
#include <memory>

#include "bridge/audio_feed.h"
#include "bridge/frame_generator.h"

namespace vbvis {

// A file or the demo track on the simulated clock: at time t it has played
// exactly t * rate frames since it was opened, so a script gives the same
// trace every run.
class ClockedFeed : public AudioFeed {
 public:
  ClockedFeed(std::unique_ptr<FrameGenerator> generator, std::int64_t openedUs);
  int sampleRate() const override { return generator_->sampleRate(); }
  bool followsBridgeClock() const override { return true; }
  bool take(std::vector<float>& stereo, std::int64_t nowUs) override;

 private:
  std::unique_ptr<FrameGenerator> generator_;
  std::int64_t openedUs_;
  std::int64_t played_ = 0;  // frames handed out or skipped
};

}  // namespace vbvis
