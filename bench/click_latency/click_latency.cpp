// click_latency: how long a click takes from the speaker to the light.
//
// Plays short clicks into a PulseAudio sink (whose monitor Sonvero listens
// to) and watches one channel of an OLA universe as olad passes it on to a
// registered client. Each click is matched with the channel's next rise (to
// 128 or more). Every time is stamped on this process's steady clock, so the
// latencies need no clock sync. Three starting points are reported:
//   written  - the player hands the click's buffer to the server;
//   played   - the sink plays its first sample (write time + the stream's
//              latency then, as PulseAudio reports it): what a listener hears;
//   recorded - a second recorder on the monitor, asking for Sonvero's 10 ms
//              fragments, receives the fragment holding it: the earliest
//              moment any capture can see the click.
// run_click_latency.sh starts the sound server, olad and Sonvero around it.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <memory>
#include <iostream>
#include <random>
#include <thread>

#include "bench/click_latency/click_player.h"
#include "bench/click_latency/monitor_recorder.h"
#include "tests/support/dmx_watcher.h"
#include "tests/support/percentile.h"

namespace {

using support::percentile;

struct Match {
  ClickPlayer::Click click;
  std::int64_t arrivedNs = -1;
  std::int64_t recordedNs = -1;  // the reference recorder got the click's fragment
};

// The reference onset that belongs to a click: the first one from 20 ms
// before its play time (the null sink renders a block ahead) to 200 ms after.
std::int64_t onsetOf(const ClickPlayer::Click& click, const std::vector<std::int64_t>& onsets) {
  for (std::int64_t t : onsets)
    if (t >= click.playedNs - 20'000'000 && t < click.playedNs + 200'000'000) return t;
  return -1;
}

// Each click with the first rise after the click could first be heard: its
// play time or, when the reference recorder got it earlier (the null sink
// hands its monitor a block ahead of its clock), that arrival.
std::vector<Match> matchClicks(std::vector<Match> matches, const std::vector<std::int64_t>& rises,
                               int& unmatchedRises) {
  // Without a recording, one sink block (10 ms, Sonvero's fragment) before the play time.
  auto heard = [](const Match& m) {
    return m.recordedNs >= 0 ? std::min(m.recordedNs, m.click.playedNs) : m.click.playedNs - 10'000'000;
  };
  std::size_t r = 0;
  std::size_t used = 0;
  for (std::size_t i = 0; i < matches.size(); ++i) {
    Match& m = matches[i];
    if (m.click.playedNs < 0) continue;
    const std::int64_t from = heard(m);
    const std::int64_t until = i + 1 < matches.size() && matches[i + 1].click.playedNs >= 0 ? heard(matches[i + 1])
                                                                                             : from + 1'000'000'000;
    while (r < rises.size() && rises[r] < from) ++r;
    if (r < rises.size() && rises[r] < until) {
      m.arrivedNs = rises[r++];
      ++used;
    }
  }
  unmatchedRises = static_cast<int>(rises.size() - used);
  return matches;
}

// Tracker mode: the light is meant to land ON the beat, before or after
// the click, so each click (after the tracker had time to lock) takes the
// rise nearest to its play time within half a period either way.
std::vector<Match> matchNearest(std::vector<Match> matches, const std::vector<std::int64_t>& rises,
                                std::int64_t halfPeriodNs) {
  for (Match& m : matches) {
    if (m.click.playedNs < 0) continue;
    std::int64_t best = -1;
    for (const std::int64_t rise : rises)
      if (std::llabs(rise - m.click.playedNs) < halfPeriodNs &&
          (best < 0 || std::llabs(rise - m.click.playedNs) < std::llabs(best - m.click.playedNs)))
        best = rise;
    m.arrivedNs = best;
  }
  return matches;
}

void summarise(const char* name, const std::vector<double>& ms) {
  if (ms.empty()) return;
  double sum = 0;
  for (double x : ms) sum += x;
  std::printf("%s: n=%zu min=%.1f p50=%.1f p90=%.1f p99=%.1f max=%.1f mean=%.1f ms\n", name, ms.size(),
              percentile(ms, 0), percentile(ms, 50), percentile(ms, 90), percentile(ms, 99), percentile(ms, 100),
              sum / static_cast<double>(ms.size()));
}

}  // namespace

int main(int argc, char** argv) {
  ClickPlayer::Options player;
  int olaPort = 9010, clicks = 100, seed = 1;
  unsigned universe = 1, channel = 10;
  double intervalMs = 500, jitterMs = 75, warmupMs = 2000;
  std::string rawPath;
  bool reference = true, tracker = false;
  double lockS = 8;
  CLI::App cli{"click_latency: click played -> DMX value at olad, p50/p99"};
  cli.add_flag("--tracker", tracker,
               "a steady click track (--interval-ms, no jitter) for the beat tracker's output: each click after "
               "--lock-s against the nearest rise, early or late");
  cli.add_option("--lock-s", lockS, "tracker mode: seconds of clicks the tracker has to lock before they count");
  cli.add_option("--ola-port", olaPort, "olad's RPC port")->required();
  cli.add_option("--universe", universe, "universe to watch");
  cli.add_option("--channel", channel, "channel (1..512) that flashes on a beat")->check(CLI::Range(1, 512));
  cli.add_option("--sink", player.sink, "sink to play into (default: the server's default)");
  cli.add_option("--clicks", clicks, "number of clicks")->check(CLI::Range(1, 100000));
  cli.add_option("--interval-ms", intervalMs, "time between clicks, plus a random part");
  cli.add_option("--jitter-ms", jitterMs, "random part of the interval (uniform), so clicks fall at every tick phase");
  cli.add_option("--seed", seed, "seed of the random part");
  cli.add_option("--click-ms", player.clickMs, "click length");
  cli.add_option("--amplitude", player.amplitude, "click level (1.0 full scale)");
  cli.add_option("--player-latency-ms", player.latencyMs, "the player's target buffer");
  cli.add_option("--warmup-ms", warmupMs, "silence before the first click");
  cli.add_flag("!--no-reference", reference, "no second 10 ms recorder on the monitor");
  cli.add_option("--raw", rawPath, "write one CSV line per click here");
  CLI11_PARSE(cli, argc, argv);

  DmxWatcher watcher(static_cast<std::uint16_t>(olaPort), universe, channel);
  if (!watcher.start()) {
    std::cerr << "olad on port " << olaPort << " does not answer or refuses the registration\n";
    return 1;
  }
  // Sonvero sends the universe at least once a second once it is connected.
  for (int i = 0; i < 100 && watcher.frames().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  if (watcher.frames().empty()) {
    std::cerr << "no DMX frames arrive for universe " << universe << " within 10 s\n";
    return 1;
  }
  std::string error;
  std::unique_ptr<MonitorRecorder> recorder;
  if (reference) {
    const std::string monitor = (player.sink.empty() ? std::string("@DEFAULT_SINK@") : player.sink) + ".monitor";
    recorder = std::make_unique<MonitorRecorder>(monitor, 10, player.amplitude / 2);
    if (!recorder->start(error)) {
      std::cerr << error << "\n";
      return 1;
    }
  }
  ClickPlayer play(player);
  if (!play.start(error)) {
    std::cerr << error << "\n";
    return 1;
  }
  if (tracker) jitterMs = 0;
  std::mt19937 random(static_cast<unsigned>(seed));
  std::uniform_real_distribution<double> jitter(0.0, jitterMs);
  play.queueClick(warmupMs);
  for (int i = 1; i < clicks; ++i) play.queueClick(intervalMs + jitter(random));

  // Wait until the last click has been written, then a second for its light.
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto c = play.clicks();
    if (c.back().writtenNs >= 0) break;
  }
  std::this_thread::sleep_for(std::chrono::seconds(1));
  std::cout << play.bufferReport() << "\n";

  const auto queued = play.clicks();
  const auto rises = watcher.risesNs();
  int unmatched = 0;
  std::vector<Match> matches;
  const auto onsets = recorder ? recorder->onsets() : std::vector<std::int64_t>{};
  for (const auto& c : queued) {
    Match m{c};
    if (c.playedNs >= 0) m.recordedNs = onsetOf(c, onsets);
    matches.push_back(m);
  }
  if (tracker) {
    // Only clicks from --lock-s on count; the tracker had those to lock.
    const std::size_t locking = static_cast<std::size_t>(lockS * 1000 / intervalMs);
    matches.erase(matches.begin(), matches.begin() + static_cast<std::ptrdiff_t>(std::min(locking, matches.size())));
    matches = matchNearest(std::move(matches), rises, static_cast<std::int64_t>(intervalMs * 500'000));
  } else {
    matches = matchClicks(std::move(matches), rises, unmatched);
  }

  std::ofstream raw;
  if (!rawPath.empty()) {
    raw.open(rawPath);
    raw << "click,start_frame,written_ns,played_ns,stream_latency_us,arrived_ns,from_play_ms,from_write_ms,recorded_ns,play_to_recorded_ms\n";
  }
  std::vector<double> fromPlay, fromWrite, fromRecorded, delivery;
  int missed = 0;
  for (std::size_t i = 0; i < matches.size(); ++i) {
    const Match& m = matches[i];
    const bool hit = m.arrivedNs >= 0;
    if (!hit) ++missed;
    const double p = hit ? (m.arrivedNs - m.click.playedNs) / 1e6 : NAN;
    const double w = hit ? (m.arrivedNs - m.click.writtenNs) / 1e6 : NAN;
    if (hit) {
      fromPlay.push_back(p);
      fromWrite.push_back(w);
    }
    const double d = m.recordedNs >= 0 ? (m.recordedNs - m.click.playedNs) / 1e6 : NAN;
    if (m.recordedNs >= 0) delivery.push_back(d);
    if (m.recordedNs >= 0 && hit) fromRecorded.push_back((m.arrivedNs - m.recordedNs) / 1e6);
    if (raw) {
      char line[320];
      std::snprintf(line, sizeof line, "%zu,%lld,%lld,%lld,%lld,%lld,%.3f,%.3f,%lld,%.3f\n", i + 1,
                    static_cast<long long>(m.click.startFrame), static_cast<long long>(m.click.writtenNs),
                    static_cast<long long>(m.click.playedNs), static_cast<long long>(m.click.latencyUs),
                    static_cast<long long>(m.arrivedNs), p, w, static_cast<long long>(m.recordedNs), d);
      raw << line;
    }
  }
  std::printf("clicks=%zu matched=%zu missed=%d unmatched_rises=%d dmx_frames=%zu\n", matches.size(), fromPlay.size(), missed,
              unmatched, watcher.frames().size());
  summarise("latency click played -> value at olad client", fromPlay);
  if (tracker) {
    // Signed: the light early is below zero. And how far off either way.
    std::vector<double> off;
    for (double x : fromPlay) off.push_back(std::fabs(x));
    std::printf("tracker: signed p5=%.1f p50=%.1f p95=%.1f ms; off by p50=%.1f p95=%.1f ms\n", percentile(fromPlay, 5),
                percentile(fromPlay, 50), percentile(fromPlay, 95), percentile(off, 50), percentile(off, 95));
  }
  summarise("latency click written -> value at olad client", fromWrite);
  summarise("latency fragment at the reference recorder -> value at olad client", fromRecorded);
  summarise("click played -> its 10 ms fragment at the reference recorder", delivery);
  return missed == 0 && unmatched == 0 ? 0 : 3;
}
