#include "bridge/capture/capture_feed.h"

#include <algorithm>

namespace vbvis {

namespace {

// Room for a little more than the longest take, so a reader that pauses
// for a while loses only the stale audio.
std::size_t ringFrames(int rate) { return static_cast<std::size_t>(rate) * 3 / 2; }

}  // namespace

CaptureFeed::CaptureFeed(std::unique_ptr<Capture> capture, std::int64_t nowUs, std::unique_ptr<TrackerTap> tap)
    : capture_(std::move(capture)),
      ring_(ringFrames(capture_->sampleRate())),
      tap_(std::move(tap)),
      sink_(ring_, tap_.get()),
      lastTakeUs_(nowUs) {
  thread_ = std::thread([this] { capture_->run(sink_, stop_); });
}

CaptureFeed::~CaptureFeed() {
  stop_.store(true);
  capture_->wake();
  thread_.join();
}

bool CaptureFeed::take(std::vector<float>& stereo, std::int64_t nowUs) {
  const std::int64_t since = std::clamp<std::int64_t>(nowUs - lastTakeUs_, 0, kMaxTakeUs);
  lastTakeUs_ = nowUs;
  const std::int64_t maxFrames = (since + kJitterUs) * sampleRate() / 1'000'000;
  capture_->pull(sink_);
  return ring_.takeNewest(stereo, static_cast<std::size_t>(maxFrames));
}

}  // namespace vbvis
