// The ring between the capture thread and the analysis, and the live feed
// that drops a backlog instead of playing it out late.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "bridge/capture/capture_feed.h"
#include "bridge/capture/demo_track.h"
#include "bridge/capture/frame_ring.h"
#include "bridge/capture/paced_capture.h"

using vbvis::FrameRing;

namespace {

// Frame i is (first + i, -(first + i)).
std::vector<float> frames(float first, std::size_t count) {
  std::vector<float> stereo;
  for (float v = first; v < first + static_cast<float>(count); ++v) stereo.insert(stereo.end(), {v, -v});
  return stereo;
}

// A capture that delivers one burst of 1000 frames at once and then nothing.
struct BurstCapture : vbvis::Capture {
  int sampleRate() const override { return 1000; }
  void run(vbvis::CaptureSink& sink, const std::atomic<bool>& stop) override {
    sink.push(frames(0, 1000).data(), 1000);  // 1 s at 1 kHz
    pushed = true;
    while (!stop.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::atomic<bool> pushed{false};
};

}  // namespace

TEST(FrameRing, HandsOverTheNewestFramesInOrderAndDropsStaleOnes) {
  FrameRing ring(8);
  auto push = [&](const std::vector<float>& stereo) { ring.push(stereo.data(), stereo.size() / 2); };
  auto take = [&](std::size_t maxFrames) {
    std::vector<float> out;
    ring.takeNewest(out, maxFrames);
    return out;
  };
  push(frames(0, 6));
  EXPECT_EQ(take(100), frames(0, 6));
  push(frames(6, 5));  // wraps around the end
  EXPECT_EQ(take(4), frames(7, 4));
  EXPECT_TRUE(take(100).empty());  // the dropped one is gone, not saved for later
  push(frames(20, 12));            // overflows: all of it is stale
  EXPECT_TRUE(take(100).empty());
  push(frames(50, 3));
  EXPECT_EQ(take(100), frames(50, 3));
}

TEST(CaptureFeed, BurstAfterAStallKeepsOnlyTheTimeSinceTheLastTake) {
  auto capture = std::make_unique<BurstCapture>();
  BurstCapture* burst = capture.get();
  vbvis::CaptureFeed feed(std::move(capture), 0);
  while (!burst->pushed.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::vector<float> out;
  feed.take(out, 75'000);  // 75 ms + 25 ms of jitter at 1 kHz: the newest 100 frames
  ASSERT_EQ(out.size(), 200u);
  EXPECT_EQ(out.front(), 900.0f);
  feed.take(out, 150'000);
  EXPECT_TRUE(out.empty());
}

