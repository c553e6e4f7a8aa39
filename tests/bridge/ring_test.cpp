// The ring between the capture thread and the analysis, and the live feed.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "bridge/analysis/spectrum_analyzer.h"
#include "bridge/beat/tracker_tap.h"
#include "bridge/capture/capture_feed.h"
#include "bridge/capture/demo_track.h"
#include "bridge/capture/frame_ring.h"
#include "bridge/capture/paced_capture.h"
#include "bridge/capture/steady_clock.h"

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

// A beat tracker that cannot be made: memory has run out.
std::atomic<int> trackersAsked{0};
std::unique_ptr<vbvis::BeatTracker> noTracker(int) {
  ++trackersAsked;
  throw std::bad_alloc();
}

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

// A tracker that cannot be made is said once and tried once; the board
// tells of no beat and the audio keeps coming.
TEST(CaptureFeed, ATrackerThatCannotBeMadeLeavesTheCaptureGoingWithoutIt) {
  using namespace std::chrono_literals;
  trackersAsked = 0;
  vbvis::TrackerBoard board;
  board.publish({.bpm = 120.0, .confidence = 80, .locked = true, .periodUs = 500'000, .nextBeatsUs = {1, 2, 3, 4}});
  testing::internal::CaptureStderr();
  {
    auto capture = std::make_unique<vbvis::PacedCapture>(std::make_unique<vbvis::DemoTrack>());
    const int rate = capture->sampleRate();
    vbvis::CaptureFeed feed(std::move(capture), vbvis::steadyNowUs(),
                            std::make_unique<vbvis::TrackerTap>(rate, board, noTracker));
    vbvis::SpectrumAnalyzer analyzer(rate);
    std::vector<float> stereo;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (trackersAsked == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(10ms);
    ASSERT_EQ(trackersAsked, 1);
    // Then four of the capture thread's fills, and the reader's takes between.
    std::size_t frames = 0;
    for (int take = 0; take < 8; ++take) {
      std::this_thread::sleep_for(vbvis::Capture::kBackgroundFill / 2);
      feed.take(stereo, vbvis::steadyNowUs());
      frames += stereo.size() / 2;
      const vbvis::Analysis analysis = analyzer.analyse(stereo);
      EXPECT_TRUE(std::any_of(analysis.pixels.begin(), analysis.pixels.end(), [](std::uint8_t p) { return p > 0; }))
          << take;
    }
    EXPECT_GT(frames, static_cast<std::size_t>(rate) * 3 / 4);
  }
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(trackersAsked, 1);
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  EXPECT_NE(errors.find("beat tracker stopped (std::bad_alloc)"), std::string::npos) << errors;
  const vbvis::TrackerState state = board.read();
  EXPECT_FALSE(state.locked);
  EXPECT_EQ(state.bpm, 0.0);
  EXPECT_EQ(state.nextBeatsUs[0], -1);
}
