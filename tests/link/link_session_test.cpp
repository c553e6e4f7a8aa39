// Sonvero's Link peer: nothing when off, the leader's rule, the session's
// beat grid alone and with a peer of the tests' own (tests/link/link_peer.cpp)
// that sets the tempo, changes it and leaves.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "tests/support/link_network.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"
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
  // Every test of this process runs on the network the peers meet on, so
  // that no session from elsewhere joins one under test.
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

// The lines link_peer wrote so far: each "WORD [BPM] at US".
struct PeerLog {
  std::filesystem::path file;
  // Link's time of the first line that starts with `what`; -1 while there is none.
  std::int64_t at(const std::string& what) const {
    std::ifstream in(file);
    const std::regex line(what + R"( .*at (-?\d+))");
    std::smatch m;
    for (std::string text; std::getline(in, text);)
      if (std::regex_match(text, m, line)) return std::stoll(m[1]);
    return -1;
  }
  std::int64_t waitFor(support::ChildProcess& peer, const std::string& what, std::chrono::seconds limit) const {
    std::int64_t when = -1;
    peer.waitUntil([&] { return (when = at(what)) >= 0; }, limit);
    return when;
  }
};

TEST_F(LinkTest, APeersTempoIsFollowedWithinABeatAndItsGridStaysWhenItLeaves) {
  if (const auto why = linkPeersUnavailable()) GTEST_SKIP() << *why;
  LinkSession link;
  link.enable(true);
  support::TempFolder dir;
  PeerLog log{dir.path() / "peer.out"};
  support::ChildProcess peer;
  ASSERT_TRUE(peer.start({LINK_PEER, "--tempo", "100", "--change-after", "1500", "--to", "130", "--leave-after", "3000"}, log.file.string()));

  ASSERT_GE(log.waitFor(peer, "tempo 100.0", seconds(12)), 0) << "the peer never met this one";
  // Link sends a tempo as microseconds per beat: 130 BPM arrives as 130.00013.
  const auto follows = [&](double bpm) {
    for (int i = 0; i < 1000 && std::abs(link.tempo() - bpm) > 0.001; ++i) std::this_thread::sleep_for(1ms);
    return link.toLinkUs(nowUs());
  };
  follows(100);
  EXPECT_EQ(link.peers(), 1u);
  EXPECT_NEAR(link.tempo(), 100, 0.001);

  const std::int64_t changedAt = log.waitFor(peer, "tempo 130.0", seconds(5));
  ASSERT_GE(changedAt, 0);
  const std::int64_t followedAt = follows(130);
  EXPECT_NEAR(link.tempo(), 130, 0.001);
  EXPECT_LT(followedAt - changedAt, 60e6 / 130) << "the change reaches this peer before the next beat";
  std::array<LinkBeat, 4> before{};
  link.beatsFrom(nowUs(), before);
  EXPECT_NEAR(before[3].atUs - before[2].atUs, 60e6 / 130, 2);

  ASSERT_GE(log.waitFor(peer, "left", seconds(5)), 0);
  EXPECT_EQ(peer.wait(), 0);
  for (int i = 0; i < 1000 && link.peers() != 0; ++i) std::this_thread::sleep_for(1ms);
  EXPECT_EQ(link.peers(), 0u) << "a peer that leaves says so";
  std::array<LinkBeat, 4> after{};
  link.beatsFrom(before[0].atUs - 1000, after);
  for (std::size_t i = 0; i < after.size(); ++i)
    EXPECT_NEAR(after[i].atUs, before[i].atUs, 20) << "the session's grid stays when a peer leaves";
  EXPECT_EQ(after[0].inBar, before[0].inBar);
}

}  // namespace
