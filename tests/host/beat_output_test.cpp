// The beat output against a tracker of the test's own (goldens audio_beats
// and beats_chase; on the output path: output_path_test).
#include <gtest/gtest.h>

#include <vector>

#include "tests/host/steady_tracker.h"
#include "vantorhost/output/beat_output.h"

using namespace vantorhost;

namespace {

class BeatOutputTest : public ::testing::Test {
 protected:
  std::int64_t now = 0;
  SteadyTracker tracker{now};
  BeatOutput output{0, tracker.clock()};
  std::vector<std::int64_t> fired;  // host ms of each beat that went out

  void SetUp() override { useLatency(0); }
  // An output whose light takes `latencyUs` to get out.
  void useLatency(std::int64_t latencyUs) {
    output = BeatOutput(latencyUs, tracker.clock());
    output.onBeat = [this](std::uint64_t number, double bpm) {
      EXPECT_EQ(number, fired.size() + 1);
      EXPECT_EQ(bpm, tracker.bpm);
      fired.push_back(now);
    };
  }
  // Follows the tracker at `ms` as the output path does; the next time it asks for.
  std::int64_t follow(std::int64_t ms) {
    output.follow(ms, 0);
    return output.nextChangeMs(ms);
  }
  // The host follows whenever the output asks, and every `pollMs` besides.
  void runUntil(std::int64_t endMs, std::int64_t pollMs = 10) {
    std::int64_t wake = follow(now);
    while (now < endMs) {
      const std::int64_t poll = now + pollMs;
      now = wake > now ? std::min(wake, poll) : poll;
      wake = follow(now);
    }
  }
};

TEST_F(BeatOutputTest, TheLightLeavesEarlyByTheOutputsLatency) {
  useLatency(12'000);
  output.setPattern({BeatPattern::Mode::Flash, 50, {1}});
  runUntil(1600, 1);
  EXPECT_EQ(fired, (std::vector<std::int64_t>{988, 1488}));
}

TEST_F(BeatOutputTest, AWobblingPredictionFiresEachBeatOnce) {
  output.setPattern({BeatPattern::Mode::Flash, 50, {1}});
  tracker.firstUs = 1'010'000;
  now = 900;
  EXPECT_EQ(follow(900), 1010);
  // The tracker moves its grid 10 ms earlier before the beat: the light follows.
  tracker.firstUs = 1'000'000;
  runUntil(1000);
  // Just after it went out, the same beat predicted again is not a new one.
  tracker.firstUs = 1'030'000;
  runUntil(2100);
  EXPECT_EQ(fired, (std::vector<std::int64_t>{1000, 1530, 2030}));
}

TEST_F(BeatOutputTest, ABeatTheHostLooksAtTooLateIsLetGoNotFlashedLate) {
  output.setPattern({BeatPattern::Mode::Flash, 50, {1}});
  tracker.staleMs = 250;  // a live capture's predictions come from audio this old
  now = 900;
  EXPECT_EQ(follow(900), 1000);
  now = 1200;  // stalled past the beat
  EXPECT_EQ(follow(1200), 1500);
  EXPECT_TRUE(fired.empty());
  EXPECT_FALSE(output.lit(1200));
  now = 1530;  // late, but within the limit
  follow(1530);
  EXPECT_EQ(fired, std::vector<std::int64_t>{1530});
}

// (Nothing before the tracker locks, nor with the output off: golden audio_beats.)
TEST_F(BeatOutputTest, NothingWithoutChannels) {
  output.setPattern({BeatPattern::Mode::Flash, 50, {}});
  EXPECT_EQ(follow(now), -1);
  runUntil(2000);
  EXPECT_TRUE(fired.empty());
}

}  // namespace
