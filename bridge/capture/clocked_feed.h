#pragma once
#include <memory>
#include <optional>

#include "bridge/beat/beat_tracking.h"
#include "bridge/capture/audio_feed.h"
#include "bridge/capture/frame_generator.h"

namespace vbvis {

// A file or the demo track on the simulated clock: at time t it has played
// exactly t * rate frames since it was opened, so a script gives the same
// trace every run. The analysis and the beat tracker each get every frame
// due, read from the source once: whichever asks first reads it and keeps
// it for the other (at most kMaxTakeUs of it, like a take), so tracking
// never changes what the analysis sees.
class ClockedFeed : public AudioFeed {
 public:
  ClockedFeed(std::unique_ptr<FrameGenerator> generator, std::int64_t openedUs, TrackerBoard* board = nullptr);
  int sampleRate() const override { return generator_->sampleRate(); }
  bool followsBridgeClock() const override { return true; }
  bool take(std::vector<float>& stereo, std::int64_t nowUs) override;
  void track(std::int64_t nowUs) override;

 private:
  // What waits for one reader: frames, and whether older ones were dropped.
  struct Pending {
    // Spelled out: clang cannot build a nested class's default constructor
    // from its member initializers before the enclosing class is complete.
    Pending() {}
    std::vector<float> stereo;
    bool dropped = false;
    std::int64_t first = 0;  // source position of the first frame
    void append(const std::vector<float>& fresh, std::int64_t firstFresh, bool gap, std::size_t limitFrames);
    void keepNewest(std::size_t limitFrames);
  };
  std::size_t limitFrames() const;
  void readDue(std::int64_t nowUs);

  std::unique_ptr<FrameGenerator> generator_;
  std::int64_t openedUs_;
  std::int64_t played_ = 0;  // frames read or skipped
  std::vector<float> fresh_;
  Pending analysis_;
  std::optional<Pending> tracked_;  // from the first track() on
  std::optional<BeatTracking> tracking_;
};

}  // namespace vbvis
