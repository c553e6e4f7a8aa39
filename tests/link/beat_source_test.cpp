// What drives the beat, and the beat output on it as the host wires it.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/host/steady_tracker.h"
#include "tests/support/beat_arrivals.h"
#include "tests/support/steady_grid.h"
#include "vantorhost/link/beat_source.h"
#include "vantorhost/output/beat_output.h"

using namespace vantorhost;

namespace {

class BeatSourceTest : public ::testing::Test {
 protected:
  std::int64_t now = 0;
  SteadyTracker tracker{now};  // 120 BPM, beats heard at 1 s + k * 500 ms
  support::SteadyGrid grid;    // 125 BPM, one other peer
  BeatSource source{grid, [this](vbvis_tracker_state& s) { tracker.read(s); }};
  std::vector<std::string> said;
  void SetUp() override {
    source.onSwitch = [this](const std::string& state) { said.push_back(state); };
  }
  vbvis_tracker_state read(std::int64_t fromUs = 1'000'000) {
    vbvis_tracker_state s{};
    source.read(s, fromUs);
    return s;
  }
  // Whether a read gives the tracker's beats as they are.
  bool readsTheTracker() {
    vbvis_tracker_state own{};
    tracker.read(own);
    const vbvis_tracker_state s = read();
    return s.locked == own.locked && s.bpm == own.bpm &&
           std::equal(std::begin(s.next_beats_us), std::end(s.next_beats_us), std::begin(own.next_beats_us));
  }
};

// `link` follows the session while another peer is there, else the tracker,
// and says each change once.
TEST_F(BeatSourceTest, LinkFollowsTheSessionWhileAnotherPeerIsThereAndSaysEachFallBackOnce) {
  EXPECT_TRUE(readsTheTracker());
  EXPECT_TRUE(said.empty()) << "it starts on the tracker, nothing to say";
  source.choose(BeatSourceChoice::Link);
  struct Step {
    bool on;
    std::size_t others;
    bool session;
  };
  for (const Step step : {Step{false, 0, false}, {false, 0, false}, {true, 0, false}, {true, 0, false},
                          {true, 2, true}, {true, 1, true}, {true, 0, false}, {false, 0, false}}) {
    grid.on = step.on;
    grid.others = step.others;
    if (step.session) {
      const vbvis_tracker_state s = read();
      EXPECT_EQ(std::vector<std::int64_t>(std::begin(s.next_beats_us), std::end(s.next_beats_us)),
                (std::vector<std::int64_t>{1'440'000, 1'920'000, 2'400'000, 2'880'000}));
      EXPECT_EQ(s.period_us, 480'000);
    } else {
      EXPECT_TRUE(readsTheTracker()) << step.on << " " << step.others;
    }
    EXPECT_EQ(source.followsSession(), step.session) << step.on << " " << step.others;
  }
  EXPECT_EQ(said, (std::vector<std::string>{"Link is off: the beat follows the tracker",
                                            "no other Link peer: the beat follows the tracker",
                                            "the beat follows the Link session",
                                            "no other Link peer: the beat follows the tracker",
                                            "Link is off: the beat follows the tracker"}));
  EXPECT_TRUE(grid.led.empty()) << "a follower never leads";
}

TEST_F(BeatSourceTest, LeadSteersTheSessionFromALockedTrackerAndFollowsTheSession) {
  source.choose(BeatSourceChoice::Lead);
  grid.others = 0;
  EXPECT_EQ(read().bpm, 125) << "alone, a locked tracker's session drives";
  EXPECT_TRUE(source.followsSession());
  ASSERT_EQ(grid.led.size(), 1u);
  EXPECT_EQ(grid.led[0], (support::SteadyGrid::Led{120, 1'000'000, false}));

  tracker.locked = false;  // the music stops
  EXPECT_EQ(read().locked, 0) << "alone and unlocked: the tracker's nothing";
  EXPECT_FALSE(source.followsSession());
  grid.others = 1;
  EXPECT_EQ(read().bpm, 125) << "other peers keep the session going";
  EXPECT_EQ(grid.led.size(), 1u) << "an unlocked tracker leads nothing";
  grid.on = false;
  EXPECT_EQ(read().locked, 0);
  EXPECT_EQ(said.back(), "Link is off: the beat follows the tracker");
}

// The hands act on the tracker: a led session takes them at the next read
// (once); a session that `link` follows is out of their reach.
TEST_F(BeatSourceTest, TheHandsReachTheBeatWhereTheTrackerDrivesItAndALedSessionTakesThemAsTheyAre) {
  source.choose(BeatSourceChoice::Lead);
  read();
  source.movedByHand();
  read();
  read();
  ASSERT_EQ(grid.led.size(), 3u);
  EXPECT_EQ((std::vector<bool>{grid.led[0].byHand, grid.led[1].byHand, grid.led[2].byHand}),
            (std::vector<bool>{false, true, false}));
  struct Case {
    BeatSourceChoice choice;
    std::size_t others;
    bool reach;
  };
  for (const Case c : {Case{BeatSourceChoice::Lead, 1, true}, {BeatSourceChoice::Tracker, 1, true},
                       {BeatSourceChoice::Link, 1, false}, {BeatSourceChoice::Link, 0, true}}) {
    source.choose(c.choice);
    grid.others = c.others;
    read();
    EXPECT_EQ(source.handsReach(), c.reach) << static_cast<int>(c.choice) << " with " << c.others << " others";
  }
}

// The beat output on the session's grid, 150 ms after each of the tracker's beats.
class BeatSourceOutputTest : public BeatSourceTest {
 protected:
  BeatOutput output{0, TrackerClock([this](vbvis_tracker_state& s, std::int64_t fromUs) { return source.read(s, fromUs); },
                                    [this] { return now * 1000; })};
  struct Fired {
    std::int64_t ms;
    std::uint8_t lit;  // the lowest channel lit, 1-based
  };
  std::vector<Fired> fired;

  void SetUp() override {
    grid.bpm = 120;
    grid.originUs = 150'000;
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

// The session's last peer going and coming (the tracker's beats lie 150 ms earlier).
TEST_F(BeatSourceOutputTest, FallingBackToTheTrackerAndBackGivesNoBeatTwiceAndMissesNone) {
  output.setPattern({BeatPattern::Mode::Flash, 50, {1}});
  for (const std::size_t others : {1, 0, 1, 0}) {
    grid.others = others;
    runUntil(now + 3000);
  }
  std::vector<std::int64_t> firedNs;
  for (const Fired& f : fired) firedNs.push_back(f.ms * 1'000'000);
  EXPECT_EQ(support::gridFaults(firedNs, 500e6), support::GridFaults{});
  EXPECT_GE(fired.size(), 22u);
  EXPECT_EQ(fired.back().ms % 500, 0) << "the tracker's beats at the end";
}

}  // namespace
