// The beat output on a Link session's grid (a grid of the test's own), as
// the host wires it: a chase starts on the bar, and moving between the
// session and the tracker neither gives a beat twice nor misses one.
#include <gtest/gtest.h>

#include <vector>

#include "tests/host/steady_tracker.h"
#include "tests/support/beat_arrivals.h"
#include "tests/support/steady_grid.h"
#include "vantorhost/link/beat_source.h"
#include "vantorhost/output/beat_output.h"

using namespace vantorhost;

namespace {

class BeatSourceOutputTest : public ::testing::Test {
 protected:
  std::int64_t now = 0;
  SteadyTracker tracker{now};  // 120 BPM, beats at 1 s + k * 500 ms
  support::SteadyGrid grid;
  BeatSource source{grid, [this](vbvis_tracker_state& s) { tracker.read(s); }};
  BeatOutput output{0, TrackerClock([this](vbvis_tracker_state& s, std::int64_t fromUs) { return source.read(s, fromUs); },
                                    [this] { return now * 1000; })};
  struct Fired {
    std::int64_t ms;
    std::uint8_t lit;  // the lowest channel lit, 1-based
  };
  std::vector<Fired> fired;

  void SetUp() override {
    grid.bpm = 120;
    grid.originUs = 150'000;  // 150 ms after each of the tracker's beats
    source.choose(BeatSourceChoice::Link);
    output.barPlace = [this](std::int64_t beatUs) { return source.barPlace(beatUs); };
    output.onBeat = [this](std::uint64_t, double) { fired.push_back({now, litChannel()}); };
  }
  std::uint8_t litChannel() const {
    std::array<std::uint8_t, 1024> values{};
    output.mergeHtp(values, now);
    for (std::size_t c = 0; c < values.size(); ++c)
      if (values[c] == 255) return static_cast<std::uint8_t>(c + 1);
    return 0;
  }
  // Follows whenever the output asks, and every 75 ms (the plug-in's tick) besides.
  void runUntil(std::int64_t endMs) {
    output.follow(now, 0);
    while (now < endMs) {
      const std::int64_t wake = output.nextChangeMs(now);
      now = std::min(now + 75, wake > now ? wake : now + 75);
      output.follow(now, 0);
    }
  }
  std::vector<std::int64_t> firedNs() const {
    std::vector<std::int64_t> ns;
    for (const Fired& f : fired) ns.push_back(f.ms * 1'000'000);
    return ns;
  }
};

TEST_F(BeatSourceOutputTest, OnTheSessionEachBeatGoesOutOnTheGridAndAChaseStartsOnTheBar) {
  output.setPattern({BeatPattern::Mode::Chase, 50, {1, 2, 3, 4, 5, 6, 7, 8}});
  runUntil(4200);
  ASSERT_EQ(fired.size(), 9u) << "150 ms, 650 ms ... 4150 ms";
  for (std::size_t i = 0; i < fired.size(); ++i) {
    const std::int64_t beat = (fired[i].ms * 1000 - grid.originUs) / 500'000;
    EXPECT_EQ(fired[i].ms * 1000, grid.originUs + beat * 500'000) << "beat " << i << " off the grid";
    EXPECT_EQ((fired[i].lit - 1) % 4, beat % 4) << "beat " << i << ": the chase keeps to the bar";
  }
  // An 8-channel chase runs on from where the bar put it: two bars per round.
  EXPECT_EQ(fired[4].lit, fired[0].lit + 4);
}

// "DMX-Ausgabe aktiv" off: the session's beats light nothing, as the
// tracker's do not; on again, they go out on the grid from the next one.
TEST_F(BeatSourceOutputTest, TheSessionsBeatsObeyTheOutputSwitch) {
  output.setPattern({BeatPattern::Mode::Flash, 50, {1}});
  output.setAllowed(false);
  runUntil(2000);
  EXPECT_TRUE(fired.empty());
  output.setAllowed(true);
  runUntil(3000);
  ASSERT_EQ(fired.size(), 2u) << "2150 and 2650 ms";
  EXPECT_EQ(fired[0].ms, 2150);
}

// The session, its last peer gone (the tracker's beats, 150 ms earlier),
// a peer again: every gap between beats within half and one and a half beats.
TEST_F(BeatSourceOutputTest, FallingBackToTheTrackerAndBackGivesNoBeatTwiceAndMissesNone) {
  output.setPattern({BeatPattern::Mode::Flash, 50, {1}});
  for (const std::size_t others : {1, 0, 1, 0}) {
    grid.others = others;
    runUntil(now + 3000);
  }
  const support::GridFaults faults = support::gridFaults(firedNs(), [](std::int64_t) { return 500e6; });
  EXPECT_EQ(faults.missed, 0);
  EXPECT_EQ(faults.doubled, 0);
  EXPECT_GE(fired.size(), 22u);
  EXPECT_EQ(fired.back().ms % 500, 0) << "the tracker's beats at the end";
}

}  // namespace
