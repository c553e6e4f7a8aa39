// The ring between the capture thread and the analysis, and the live feed
// that drops a backlog instead of playing it out late.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "audio/vbvis/capture_feed.h"
#include "audio/vbvis/demo_track.h"
#include "audio/vbvis/frame_ring.h"
#include "audio/vbvis/paced_capture.h"

using vbvis::FrameRing;

namespace {

std::vector<float> frames(float first, std::size_t count) {
  std::vector<float> stereo;
  for (std::size_t i = 0; i < count; ++i) {
    stereo.push_back(first + static_cast<float>(i));
    stereo.push_back(-(first + static_cast<float>(i)));
  }
  return stereo;
}

// A capture that delivers one burst of `frames` at once and then nothing.
class BurstCapture : public vbvis::Capture {
 public:
  explicit BurstCapture(std::size_t count) : count_(count) {}
  int sampleRate() const override { return 1000; }
  void run(FrameRing& ring, const std::atomic<bool>& stop) override {
    const std::vector<float> burst = frames(0, count_);
    ring.push(burst.data(), count_);
    pushed = true;
    while (!stop.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::atomic<bool> pushed{false};

 private:
  std::size_t count_;
};

}  // namespace

TEST(FrameRing, HandsOverFramesInOrderAcrossTheWrap) {
  FrameRing ring(8);
  std::vector<float> out;
  const std::vector<float> a = frames(0, 6), b = frames(6, 5);
  ring.push(a.data(), 6);
  ring.takeNewest(out, 100);
  EXPECT_EQ(out, a);
  ring.push(b.data(), 5);  // wraps around the end
  ring.takeNewest(out, 100);
  EXPECT_EQ(out, b);
  ring.takeNewest(out, 100);
  EXPECT_TRUE(out.empty());
}

TEST(FrameRing, KeepsOnlyTheNewestFramesAsked) {
  FrameRing ring(16);
  std::vector<float> out;
  const std::vector<float> a = frames(0, 10);
  ring.push(a.data(), 10);
  ring.takeNewest(out, 4);
  EXPECT_EQ(out, frames(6, 4));
  ring.takeNewest(out, 4);  // the dropped ones are gone, not saved for later
  EXPECT_TRUE(out.empty());
}

TEST(FrameRing, AnOverflowDropsTheStaleAudio) {
  FrameRing ring(8);
  std::vector<float> out;
  const std::vector<float> a = frames(0, 12);
  ring.push(a.data(), 12);
  ring.takeNewest(out, 100);
  EXPECT_TRUE(out.empty());
  const std::vector<float> b = frames(50, 3);
  ring.push(b.data(), 3);
  ring.takeNewest(out, 100);
  EXPECT_EQ(out, b);
}

TEST(CaptureFeed, BurstAfterAStallKeepsOnlyTheTimeSinceTheLastTake) {
  auto capture = std::make_unique<BurstCapture>(1000);  // 1 s at 1 kHz
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

TEST(CaptureFeed, PacedDemoTrackArrivesInRealTime) {
  vbvis::CaptureFeed feed(std::make_unique<vbvis::PacedCapture>(std::make_unique<vbvis::DemoTrack>()), 0);
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::vector<float> out;
  const auto us =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
  feed.take(out, us);
  // About 100 ms of 48 kHz audio (the thread hands it over in 5 ms steps).
  EXPECT_GT(out.size() / 2, 48u * 80);
  EXPECT_LE(out.size() / 2, 48u * 130);
}
