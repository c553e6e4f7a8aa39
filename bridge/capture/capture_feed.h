#pragma once
#include <atomic>
#include <memory>
#include <thread>

#include "bridge/beat/tracker_tap.h"
#include "bridge/capture/audio_feed.h"
#include "bridge/capture/capture.h"
#include "bridge/capture/frame_ring.h"

namespace vbvis {

// A live source: its capture runs on a thread of its own, each take first
// pulls what the source has delivered into the ring buffer and then moves
// what arrived since the previous take. A take
// keeps no more than the time since the previous take (plus a little for
// jitter) of the newest audio: a burst after a stall is dropped, not played
// out late.
class CaptureFeed : public AudioFeed {
 public:
  // With a tap, the beat tracker runs on the capture thread and publishes there.
  CaptureFeed(std::unique_ptr<Capture> capture, std::int64_t nowUs, std::unique_ptr<TrackerTap> tap = nullptr);
  ~CaptureFeed() override;
  CaptureFeed(const CaptureFeed&) = delete;
  CaptureFeed& operator=(const CaptureFeed&) = delete;

  int sampleRate() const override { return capture_->sampleRate(); }
  bool followsBridgeClock() const override { return false; }
  bool take(std::vector<float>& stereo, std::int64_t nowUs) override;
  const SourceState* state() const override { return capture_->state(); }

  static constexpr std::int64_t kJitterUs = 25'000;

 private:
  std::unique_ptr<Capture> capture_;
  FrameRing ring_;
  std::unique_ptr<TrackerTap> tap_;
  CaptureSink sink_;
  std::atomic<bool> stop_{false};
  std::int64_t lastTakeUs_;
  std::thread thread_;
};

}  // namespace vbvis
