// What drives the beat: the tracker, a Link session (a steady grid of the
// test's own) or the session led from the tracker, and the fall-backs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/steady_grid.h"
#include "vantorhost/link/beat_source.h"

using namespace vantorhost;

namespace {

vbvis_tracker_state trackerAt(double bpm, std::int64_t firstUs) {
  vbvis_tracker_state s{};
  if (bpm <= 0) {
    for (auto& beat : s.next_beats_us) beat = -1;
    return s;
  }
  s.bpm = bpm;
  s.confidence = 80;
  s.locked = 1;
  s.period_us = std::llround(60e6 / bpm);
  for (int i = 0; i < 4; ++i) s.next_beats_us[i] = firstUs + i * s.period_us;
  return s;
}

class BeatSourceTest : public ::testing::Test {
 protected:
  support::SteadyGrid grid;
  vbvis_tracker_state tracker = trackerAt(120, 1'010'000);
  BeatSource source{grid, [this](vbvis_tracker_state& s) { s = tracker; }};
  std::vector<std::string> said;
  void SetUp() override {
    source.onSwitch = [this](const std::string& state) { said.push_back(state); };
  }
  vbvis_tracker_state read(std::int64_t fromUs = 1'000'000) {
    vbvis_tracker_state s{};
    source.read(s, fromUs);
    return s;
  }
  static bool sameBeats(const vbvis_tracker_state& a, const vbvis_tracker_state& b) {
    return a.locked == b.locked && a.bpm == b.bpm && std::equal(std::begin(a.next_beats_us), std::end(a.next_beats_us),
                                                                std::begin(b.next_beats_us));
  }
};

TEST_F(BeatSourceTest, TheTrackerChoiceIgnoresTheSession) {
  EXPECT_TRUE(sameBeats(read(), tracker));
  EXPECT_FALSE(source.followsSession());
  EXPECT_TRUE(said.empty()) << "it starts on the tracker, nothing to say";
  EXPECT_TRUE(grid.led.empty());
}

TEST_F(BeatSourceTest, LinkFollowsTheSessionsGridFromTheTimeAskedWhileAnotherPeerIsThere) {
  source.choose(BeatSourceChoice::Link);
  const vbvis_tracker_state s = read(1'000'000);
  EXPECT_TRUE(source.followsSession());
  EXPECT_EQ(s.locked, 1);
  EXPECT_EQ(s.bpm, 125);
  EXPECT_EQ(s.period_us, 480'000);
  EXPECT_EQ(std::vector<std::int64_t>(std::begin(s.next_beats_us), std::end(s.next_beats_us)),
            (std::vector<std::int64_t>{1'440'000, 1'920'000, 2'400'000, 2'880'000}));
  EXPECT_TRUE(grid.led.empty()) << "a follower never leads";
}

// Link off, no peer, a peer again, Link off: each change said once, the
// tracker's beats while the session cannot drive.
TEST_F(BeatSourceTest, LinkFallsBackToTheTrackerWithoutAnotherPeerAndSaysSoOnce) {
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
    const vbvis_tracker_state s = read();
    EXPECT_EQ(source.followsSession(), step.session) << step.on << " " << step.others;
    if (!step.session) {
      EXPECT_TRUE(sameBeats(s, tracker));
    }
  }
  EXPECT_EQ(said, (std::vector<std::string>{"Link is off: the beat follows the tracker",
                                            "no other Link peer: the beat follows the tracker",
                                            "the beat follows the Link session",
                                            "no other Link peer: the beat follows the tracker",
                                            "Link is off: the beat follows the tracker"}));
}

TEST_F(BeatSourceTest, LeadSteersTheSessionFromALockedTrackerAndFollowsTheSession) {
  source.choose(BeatSourceChoice::Lead);
  grid.others = 0;
  EXPECT_EQ(read().bpm, 125) << "alone, a locked tracker's session drives";
  EXPECT_TRUE(source.followsSession());
  ASSERT_EQ(grid.led.size(), 1u);
  EXPECT_EQ(grid.led[0], (support::SteadyGrid::Led{120, 1'010'000, false}));

  tracker = trackerAt(0, 0);  // the music stops
  EXPECT_EQ(read().locked, 0) << "alone and unlocked: the tracker's nothing";
  EXPECT_FALSE(source.followsSession());
  grid.others = 1;
  EXPECT_EQ(read().bpm, 125) << "other peers keep the session going";
  EXPECT_EQ(grid.led.size(), 1u) << "an unlocked tracker leads nothing";
  grid.on = false;
  EXPECT_EQ(read().locked, 0);
  EXPECT_EQ(said.back(), "Link is off: the beat follows the tracker");
}

// The operator's hands act on the tracker: a session it leads takes what
// they did at the next read (once), and they reach the beat wherever the
// tracker drives it, but not a session that `link` follows.
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

}  // namespace
