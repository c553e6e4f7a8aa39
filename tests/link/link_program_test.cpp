// The whole program with Link: no Link thread until Link is on, scripts on
// the real clock from `link on`, and machines in one session measured at one
// private olad.
#include <gtest/gtest.h>
#include <time.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "tests/support/beat_arrivals.h"
#include "tests/support/beat_rig.h"
#include "tests/support/child_process.h"
#include "tests/support/link_network.h"
#include "tests/support/percentile.h"
#include "tests/support/steady_ns.h"
#include "tests/support/temp_folder.h"
#include "vantorhost/link/clock_offset.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// The program's threads whose name starts with "Link" (Link names its own).
int linkThreads(pid_t pid) {
  int count = 0;
  std::error_code ec;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec))
    if (support::readBytes(task.path() / "comm").rfind("Link", 0) == 0) ++count;
  return count;
}

std::int64_t clockUs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1'000'000 + t.tv_nsec / 1000;
}

// A time link_peer wrote (Link's clock, CLOCK_MONOTONIC_RAW) on the steady
// clock the arrivals are stamped on, in nanoseconds.
std::int64_t steadyNsOfLinkUs(std::int64_t linkUs) {
  const std::int64_t offset = vantorhost::clockOffsetUs([] { return clockUs(CLOCK_MONOTONIC); },
                                                        [] { return clockUs(CLOCK_MONOTONIC_RAW); });
  return (linkUs - offset) * 1000;
}

class LinkProgramTest : public ::testing::Test {
 protected:
  // Every test of this process on the network its peers meet on.
  void SetUp() override { RecordProperty("link_network", linkNetworkName()); }
  // Runs `script` as `sonvero --script` does; its trace.
  std::string runScript(const std::string& script) {
    support::writeBytes(folder.path() / "s.script", script);
    support::ChildProcess sonvero;
    EXPECT_TRUE(sonvero.start({SONVERO_BINARY, "--script", (folder.path() / "s.script").string(), "--settings-dir",
                               folder.path().string()},
                              (folder.path() / "trace").string(), (folder.path() / "log").string()));
    EXPECT_EQ(sonvero.wait(), 0) << support::readBytes(folder.path() / "log");
    return support::readBytes(folder.path() / "trace");
  }
  support::TempFolder folder;
};

TEST_F(LinkProgramTest, NoLinkThreadRunsUntilTheCommandLineOrTheHostWindowTurnsLinkOn) {
  struct Case {
    const char* kept;  // Sonvero.host's link line
    bool option;       // --link
    bool on;
  };
  for (const Case c : {Case{"", false, false}, {"link = off\n", false, false}, {"link = on\n", false, true},
                       {"link = off\n", true, true}}) {
    const fs::path dir = folder.path() / (std::string(c.kept) + (c.option ? "option" : ""));
    fs::create_directories(dir);
    support::writeBytes(dir / "Sonvero.host", c.kept);
    std::vector<std::string> args{SONVERO_BINARY, "--headless", "--audio", "silence", "--dmx", "none", "--no-show",
                                  "--settings-dir", dir.string()};
    if (c.option) args.push_back("--link");
    support::ChildProcess sonvero;
    ASSERT_TRUE(sonvero.start(args, (dir / "log").string(), (dir / "log").string()));
    ASSERT_TRUE(sonvero.waitUntil(
        [&] { return support::readBytes(dir / "log").find("running headless") != std::string::npos; }, 30s));
    EXPECT_EQ(linkThreads(sonvero.pid()) > 0, c.on) << c.kept << c.option;
    EXPECT_EQ(support::readBytes(dir / "log").find("Link: on") != std::string::npos, c.on);
    EXPECT_EQ(sonvero.stop(), 0);
    EXPECT_EQ(support::readBytes(dir / "Sonvero.host"), c.kept) << "a headless run keeps the host window's choice";
  }
}

TEST_F(LinkProgramTest, AScriptJoinsTheSessionAndRunsOnTheRealClockFromLinkOn) {
  const auto start = std::chrono::steady_clock::now();
  const std::string trace =
      runScript("print link\nadvance 1000\nlink on\nprint link\nadvance 500\nprint link\nlink off\nprint link\n");
  EXPECT_GE(std::chrono::steady_clock::now() - start, 500ms);
  EXPECT_TRUE(std::regex_match(trace, std::regex("0 link = off\n"
                                                 "1000 link = \\d+ \\d+\\.\\d -?\\d+\\.\\d\\d\n"
                                                 "1500 link = \\d+ \\d+\\.\\d -?\\d+\\.\\d\\d\n"
                                                 "1500 link = off\n")))
      << trace;
}

// Four taps 480 ms apart lead the session at 125 BPM on the taps' grid; a
// nudge of 5 ms (within the tracker's own wander) moves it all the same.
TEST_F(LinkProgramTest, AScriptsTapsAndNudgesLeadTheSession) {
  const std::string trace = runScript("link on\nbeats source lead\nbeats flash 50 1\naudio silence\n"
                                      "tap\nadvance 480\ntap\nadvance 480\ntap\nadvance 480\ntap\nadvance 960\n"
                                      "print link\nnudge 5\nadvance 960\nprint link\n");
  EXPECT_TRUE(std::regex_match(trace, std::regex("2400 link = \\d+ 125\\.0 -?\\d+\\.00\n"
                                                 "3360 link = \\d+ 125\\.0 -?\\d+\\.99\n")))
      << trace;
}

// Machines in one session, each on its own universe of one olad.
class LinkSessionTest : public LinkProgramTest {
 protected:
  void SetUp() override {
    LinkProgramTest::SetUp();
    if (const auto why = linkPeersUnavailable()) GTEST_SKIP() << *why;
    ASSERT_TRUE(rig.startOlad());
  }
  // A machine whose beat source is `source`, listening to `audio`.
  void startMachine(const std::string& name, unsigned universe, const std::string& source, const std::string& audio) {
    ASSERT_TRUE(rig.start(name, universe, "beats flash 40 1\nbeats source " + source + "\n",
                          {"--audio", audio, "--link"}));
    ASSERT_TRUE(rig.waitForLog(name, "running headless", 30s)) << rig.log(name);
  }
  support::BeatRig rig{SONVERO_BINARY};
};

// A follower on silence lights on its leader's beat (the 3 ms target is
// bench/link_sync.cpp's; this bound leaves room for a loaded machine).
TEST_F(LinkSessionTest, AFollowerLightsWithItsLeaderAndAPeerComingAndGoingCostsNoBeat) {
  startMachine("leader", 1, "lead", "demo");
  startMachine("follower", 3, "link", "silence");
  // The tracker locks in a few seconds; then both light on one grid.
  ASSERT_TRUE(rig.waitForLog("follower", "beats: the beat follows the Link session", 20s)) << rig.log("follower");
  std::this_thread::sleep_for(6s);
  const std::int64_t from = steadyNs();
  support::ChildProcess peer;
  ASSERT_TRUE(peer.start({LINK_PEER, "--leave-after", "3000"}));
  std::this_thread::sleep_for(9s);
  EXPECT_EQ(peer.wait(5s), 0) << "the peer met the session and left";

  const auto leader = rig.arrivals("leader", from), follower = rig.arrivals("follower", from);
  ASSERT_GE(follower.size(), 16u) << rig.log("follower");
  // On a loaded machine the leader's tracker may put its phase right by half
  // a beat within the window; the session moves with it, and the two read
  // the jump a moment apart, so the beat at it may go out on one machine
  // only. Every other beat goes out on both.
  const std::vector<double> offsets = support::pairedOffsetsMs(leader, follower, 100'000'000);
  EXPECT_GE(offsets.size() + 1, follower.size()) << "every beat of the follower but one at most is one of the leader's";
  std::vector<double> sizes;
  for (const double ms : offsets) sizes.push_back(std::abs(ms));
  EXPECT_LT(support::percentile(sizes, 95), 40.0) << "p50 " << support::percentile(offsets, 50);
  for (const auto* arrivals : {&leader, &follower}) EXPECT_EQ(support::gridFaults(*arrivals, 500e6), support::GridFaults{});
}

// A peer's change from 100 to 130 BPM is followed from the next beat, and its
// leaving falls back to the tracker. 25 ms slack: a loaded machine wakes late,
// and the two tempi's beats lie 138 ms apart.
TEST_F(LinkSessionTest, APeersTempoChangeIsFollowedFromTheNextBeat) {
  constexpr double kSlackMs = 25;
  startMachine("follower", 1, "link", "silence");
  const fs::path peerOut = folder.path() / "peer.out";
  support::ChildProcess peer;
  ASSERT_TRUE(peer.start({LINK_PEER, "--tempo", "100", "--change-after", "5000", "--to", "130", "--leave-after", "9000"},
                         peerOut.string()));
  EXPECT_EQ(peer.wait(30s), 0);
  ASSERT_TRUE(rig.waitForLog("follower", "no other Link peer: the beat follows the tracker", 5s)) << rig.log("follower");
  std::smatch m;
  const std::string out = support::readBytes(peerOut);
  ASSERT_TRUE(std::regex_search(out, m, std::regex("tempo 130.0 at (\\d+)"))) << out;
  const std::int64_t changedNs = steadyNsOfLinkUs(std::stoll(m[1]));

  const std::vector<std::int64_t> beats = rig.arrivals("follower");
  ASSERT_GE(beats.size(), 12u) << rig.log("follower");
  int before = 0, after = 0;
  for (std::size_t i = 1; i < beats.size(); ++i) {
    const double gapMs = static_cast<double>(beats[i] - beats[i - 1]) / 1e6;
    if (beats[i] < changedNs) {
      EXPECT_NEAR(gapMs, 600, kSlackMs) << "beat " << i << " at 100 BPM";
      ++before;
    } else if (beats[i - 1] > changedNs) {
      EXPECT_NEAR(gapMs, 60000.0 / 130, kSlackMs) << "beat " << i << " at 130 BPM";
      ++after;
    } else {
      EXPECT_GT(gapMs, 60000.0 / 130 - kSlackMs) << "the beat across the change";
      EXPECT_LT(gapMs, 600 + kSlackMs) << "the beat across the change";
    }
  }
  EXPECT_GE(before, 4);
  EXPECT_GE(after, 4);
}

}  // namespace
