// link_sync [BEATS]
//
// Sonvero machines in one Ableton Link session, measured where their light
// arrives: one private olad, each machine on a universe of its own, the
// beat's flash on channel 1 stamped as olad passes it on
// (tests/support/beat_rig.h). Prints
//  - a leader (`beats source lead`, the demo track at 120 BPM) and a
//    follower (`beats source link`, silence): the follower's arrival minus
//    the leader's over BEATS beats (default 100), p50 and p95 of the signed
//    offset and of its size, and beats missed or doubled by either while a
//    third peer joins and leaves;
//  - a follower with DJ software of the tests' own (link_peer) at 100 BPM
//    that changes to 130: when the first beats after the change arrive
//    against the new grid (fitted to the beats after them);
//  - what Link costs: the CPU time of a headless Sonvero's Link threads
//    (/proc/PID/task/*/schedstat) over a minute in a session of two, and
//    the whole process with Link on and off.
// Runs on a private network namespace as root (else this machine's
// network); takes about four minutes. Stops everything it started by PID.
#include <time.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

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
using support::percentile;

namespace {

std::int64_t clockUs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1'000'000 + t.tv_nsec / 1000;
}

bool machine(support::BeatRig& rig, const std::string& name, unsigned universe, const std::string& source,
             const std::string& audio) {
  if (!rig.start(name, universe, "beats flash 40 1\nbeats source " + source + "\n", {"--audio", audio, "--link"}) ||
      !rig.waitForLog(name, "running headless", 30s)) {
    std::fprintf(stderr, "%s did not start:\n%s\n", name.c_str(), rig.log(name).c_str());
    return false;
  }
  return true;
}

bool leaderAndFollower(int beats) {
  support::BeatRig rig(SONVERO_BINARY);
  if (!rig.startOlad() || !machine(rig, "leader", 1, "lead", "demo") || !machine(rig, "follower", 3, "link", "silence"))
    return false;
  if (!rig.waitForLog("follower", "beats: the beat follows the Link session", 20s)) {
    std::fprintf(stderr, "the follower never followed the session:\n%s\n", rig.log("follower").c_str());
    return false;
  }
  std::this_thread::sleep_for(6s);  // the leader's tracker settles
  const std::int64_t start = steadyNs();
  support::ChildProcess peer;
  const double seconds = beats * 0.5 + 1;
  peer.start({LINK_PEER, "--leave-after", std::to_string(static_cast<int>(seconds * 500))});
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  const int peerStatus = peer.wait(5s);
  const auto leader = rig.arrivals("leader", start), follower = rig.arrivals("follower", start);
  const std::vector<double> offsets = support::pairedOffsetsMs(leader, follower, 250'000'000);
  std::vector<double> sizes;
  for (const double ms : offsets) sizes.push_back(std::fabs(ms));
  std::printf("leader and follower: %zu and %zu beats, %zu paired\n", leader.size(), follower.size(), offsets.size());
  std::printf("  follower - leader: p50 %+.2f ms, p95 %+.2f ms; size p50 %.2f ms, p95 %.2f ms, max %.2f ms\n",
              percentile(offsets, 50), percentile(offsets, 95), percentile(sizes, 50), percentile(sizes, 95),
              percentile(sizes, 100));
  for (const auto& [name, arrivals] : {std::pair{"leader", &leader}, std::pair{"follower", &follower}}) {
    const support::GridFaults faults = support::gridFaults(*arrivals, 500e6);
    std::printf("  %s, a peer joining after 0 s and leaving after %.0f s (exit %d): %d missed, %d doubled\n", name,
                seconds / 2, peerStatus, faults.missed, faults.doubled);
  }
  return true;
}

bool tempoChange() {
  support::BeatRig rig(SONVERO_BINARY);
  support::TempFolder dir;
  if (!rig.startOlad() || !machine(rig, "follower", 1, "link", "silence")) return false;
  support::ChildProcess peer;
  const fs::path out = dir.path() / "peer.out";
  peer.start({LINK_PEER, "--tempo", "100", "--change-after", "6000", "--to", "130", "--leave-after", "12000"},
             out.string());
  if (peer.wait(30s) != 0) return false;
  std::smatch m;
  const std::string said = support::readBytes(out);
  if (!std::regex_search(said, m, std::regex("tempo 130.0 at (\\d+)"))) return false;
  const std::int64_t rawMinusSteady =
      vantorhost::clockOffsetUs([] { return clockUs(CLOCK_MONOTONIC); }, [] { return clockUs(CLOCK_MONOTONIC_RAW); });
  const std::int64_t changedNs = (std::stoll(m[1]) - rawMinusSteady) * 1000;
  const auto after = rig.arrivals("follower", changedNs);
  if (after.size() < 8) return false;
  // The new grid from the beats from the third after the change on (least squares).
  const double period = 60e9 / 130;
  double sum = 0;
  for (std::size_t i = 2; i < after.size(); ++i) sum += static_cast<double>(after[i]) - static_cast<double>(i) * period;
  const double origin = sum / static_cast<double>(after.size() - 2);
  std::printf("tempo change 100 -> 130 BPM by a peer: the first beat %.1f ms after it\n",
              static_cast<double>(after[0] - changedNs) / 1e6);
  for (std::size_t i = 0; i < 3; ++i)
    std::printf("  beat %zu after the change: %+.2f ms off the new grid\n", i + 1,
                (static_cast<double>(after[i]) - (origin + static_cast<double>(i) * period)) / 1e6);
  return true;
}

// CPU time in nanoseconds of a process's threads (those named `prefix...`, or all).
std::int64_t cpuNs(pid_t pid, const std::string& prefix = "") {
  std::int64_t total = 0;
  std::error_code ec;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
    if (support::readBytes(task.path() / "comm").rfind(prefix, 0) != 0) continue;
    std::int64_t onCpu = 0;
    std::ifstream(task.path() / "schedstat") >> onCpu;  // the first field: time on a CPU
    total += onCpu;
  }
  return total;
}

double cpuShare(bool link, int seconds) {
  support::TempFolder dir;
  support::ChildProcess sonvero, peer;
  std::vector<std::string> args{SONVERO_BINARY, "--headless", "--audio", "silence", "--dmx", "none",
                                "--no-show",    "--settings-dir", dir.path().string()};
  if (link) args.push_back("--link");
  sonvero.start(args, (dir.path() / "log").string(), (dir.path() / "log").string());
  if (link) peer.start({LINK_PEER});
  std::this_thread::sleep_for(3s);
  const std::int64_t all = cpuNs(sonvero.pid()), ofLink = cpuNs(sonvero.pid(), "Link"), start = steadyNs();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double wall = static_cast<double>(steadyNs() - start);
  const double share = static_cast<double>(cpuNs(sonvero.pid()) - all) / wall * 100;
  if (link)
    std::printf("  Link's threads: %.3f %% of a core\n",
                static_cast<double>(cpuNs(sonvero.pid(), "Link") - ofLink) / wall * 100);
  sonvero.stop();
  return share;
}

}  // namespace

int main(int argc, char** argv) {
  const int beats = argc > 1 ? std::atoi(argv[1]) : 100;
  if (const auto why = linkPeersUnavailable()) {
    std::fprintf(stderr, "link_sync: %s\n", why->c_str());
    return 1;
  }
  std::printf("on %s\n", linkNetworkName().c_str());
  if (!leaderAndFollower(beats) || !tempoChange()) return 1;
  std::printf("a headless Sonvero on silence, over a minute each, in a session with one other peer:\n");
  const double on = cpuShare(true, 60), off = cpuShare(false, 60);
  std::printf("  the whole process: %.3f %% of a core with Link on, %.3f %% off\n", on, off);
  return 0;
}
