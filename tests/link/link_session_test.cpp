// Sonvero's Link peer alone (with other peers: link_program_test).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "tests/support/link_network.h"
#include "vantorhost/link/clock_offset.h"
#include "vantorhost/link/link_session.h"

using namespace vantorhost;
using namespace std::chrono;

namespace {

std::int64_t nowUs() { return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count(); }

std::size_t threads() {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/task"), {}));
}

class LinkTest : public ::testing::Test {
 protected:
  // No session from elsewhere joins one under test.
  void SetUp() override { RecordProperty("link_network", linkNetworkName()); }
};

// The tracker's own wander moves nothing; the operator's hands move what
// they moved, however little.
TEST(LeadRule, TheSessionTempoMovesOnlyForMoreThanHalfABpmAndThePhaseOnlyForMoreThanTenMsUnlessByHand) {
  struct Case {
    double session, tracker;
    std::int64_t offBeatUs;
    bool byHand;
    LeadStep step;
  };
  const Case cases[] = {
      {120.0, 120.4, 0, false, {false, false}},     // a tracker's wander
      {120.0, 119.5, 9'000, false, {false, false}}, // half a BPM exactly, and within the phase's tolerance
      {120.0, 120.6, 0, false, {true, true}},       // a new tempo, its beat with it
      {120.0, 118.0, 0, false, {true, true}},
      {120.0, 120.2, 10'001, false, {false, true}}, // drifted off the tracker's beat
      {120.0, 120.2, -12'000, false, {false, true}},
      {0.0, 128.0, 0, false, {true, true}},         // no session tempo yet
      {120.0, 0.0, 50'000, false, {false, false}},  // a tracker that is not locked leads nothing
      {120.0, 120.0, 10'000, true, {false, true}},  // a nudge of one step
      {120.0, 120.3, 0, true, {true, true}},        // four taps a little off the session's tempo
      {120.0, 0.0, 0, true, {false, false}},        // taps that set no tempo yet
  };
  for (const Case& c : cases)
    EXPECT_EQ(leadStep(c.session, c.tracker, c.offBeatUs, c.byHand), c.step)
        << c.session << " BPM against " << c.tracker << ", " << c.offBeatUs << " us off" << (c.byHand ? ", by hand" : "");
}

TEST(ClockOffset, ThePairOfReadsLeastAPartIsTaken) {
  // Ours reads 100, 102 (a tight pair around theirs' 5000), then a pair
  // split by a switch-out (200, 900), then 1000, 1010.
  std::int64_t ours[] = {100, 102, 200, 900, 1000, 1010}, theirs[] = {5000, 5400, 5905};
  int o = 0, t = 0;
  EXPECT_EQ(clockOffsetUs([&] { return ours[o++]; }, [&] { return theirs[t++]; }), 5000 - 101);
}

TEST_F(LinkTest, OffItHoldsNoThreadAndReadsNothing) {
  const std::size_t before = threads();
  LinkSession link;
  EXPECT_EQ(threads(), before);
  std::array<LinkBeat, 4> beats{};
  EXPECT_FALSE(link.view(nowUs()).on);
  EXPECT_EQ(link.beatsFrom(nowUs(), beats), 0u);
  EXPECT_EQ(link.lead(128, nowUs(), false), LeadStep{});
  EXPECT_EQ(link.tempo(), 0);
  link.enable(true);
  EXPECT_GT(threads(), before) << "Link runs its own threads";
  link.enable(false);
  EXPECT_EQ(threads(), before) << "leaving the session ends them";
}

TEST_F(LinkTest, ALeaderAloneSetsTheTempoAndPutsTheTrackersBeatOnAWholeBeat) {
  LinkSession link;
  link.enable(true);
  // Link starts its own session on its thread a moment after it is enabled,
  // back at its first tempo; a lead before that is undone (live, the lead
  // rule sets it again at the next beat).
  std::this_thread::sleep_for(300ms);
  const std::int64_t beatUs = nowUs() + 200'000;
  EXPECT_EQ(link.lead(128, beatUs, false), (LeadStep{true, true}));
  EXPECT_DOUBLE_EQ(link.tempo(), 128);
  const std::int64_t periodUs = std::llround(60e6 / 128);

  std::array<LinkBeat, 6> beats{};
  ASSERT_EQ(link.beatsFrom(beatUs - 1000, beats), beats.size());
  for (std::size_t i = 0; i < beats.size(); ++i) {
    EXPECT_NEAR(beats[i].atUs, beatUs + static_cast<std::int64_t>(i) * periodUs, 2) << "beat " << i;
    EXPECT_EQ(beats[i].inBar, (beats[0].inBar + static_cast<int>(i)) % kLinkQuantum);
  }
  const LinkView view = link.view(beatUs);
  EXPECT_TRUE(view.on);
  EXPECT_EQ(view.peers, 0u);
  EXPECT_NEAR(view.beat, std::round(view.beat), 1e-4);

  // The tracker wanders a little: the session stays; a beat 15 ms off pulls
  // the phase, keeping the tempo and the bar.
  const std::int64_t next = beats[2].atUs;
  EXPECT_EQ(link.lead(128.4, next + 5'000, false), LeadStep{});
  EXPECT_EQ(link.lead(127.7, next + 15'000, false), (LeadStep{false, true}));
  EXPECT_DOUBLE_EQ(link.tempo(), 128);
  std::array<LinkBeat, 1> pulled{};
  link.beatsFrom(next + 1'000, pulled);
  EXPECT_NEAR(pulled[0].atUs, next + 15'000, 2);
  EXPECT_EQ(pulled[0].inBar, beats[2].inBar);

  // The operator's nudge of one step moves the session's beat by as much.
  EXPECT_TRUE(link.lead(128, pulled[0].atUs + 10'000, true).forcePhase);
  std::array<LinkBeat, 1> nudged{};
  link.beatsFrom(pulled[0].atUs + 1'000, nudged);
  EXPECT_NEAR(nudged[0].atUs, pulled[0].atUs + 10'000, 2);
  EXPECT_EQ(nudged[0].inBar, beats[2].inBar);
}

}  // namespace
