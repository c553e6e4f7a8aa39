// Cost of Sonvero's Link peer (vantorhost/link/): what the host asks on
// each look at the beat (the next beats, the session as shown, a leader's
// word that changes nothing), and what Link's own threads take while it
// idles in a session of two peers, as a share of one core. Off it holds no
// thread (tests/link/), so it costs nothing.
//   build/release/bin/link_session --benchmark_filter=Idle   (a minute)
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <array>
#include <chrono>
#include <thread>

#include "vantorhost/link/link_session.h"

using namespace vantorhost;
using namespace std::chrono;

namespace {

std::int64_t nowUs() { return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count(); }

double cpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_NextBeats(benchmark::State& state) {
  LinkSession link;
  link.enable(true);
  std::array<LinkBeat, 4> beats{};
  for (auto _ : state) benchmark::DoNotOptimize(link.beatsFrom(nowUs(), beats));
}
BENCHMARK(BM_NextBeats);

void BM_View(benchmark::State& state) {
  LinkSession link;
  link.enable(true);
  for (auto _ : state) benchmark::DoNotOptimize(link.view(nowUs()));
}
BENCHMARK(BM_View);

void BM_LeadUnchanged(benchmark::State& state) {
  LinkSession link;
  link.enable(true);
  const std::int64_t beatUs = nowUs();
  link.lead(120, beatUs, false);
  for (auto _ : state) benchmark::DoNotOptimize(link.lead(120.2, beatUs, false));
}
BENCHMARK(BM_LeadUnchanged);

// Two peers of this process in one session for the given seconds of real
// time: the CPU both took, halved, as a percentage of one core.
void BM_IdleInASessionOfTwo(benchmark::State& state) {
  for (auto _ : state) {
    LinkSession one, other;
    one.enable(true);
    other.enable(true);
    const auto giveUp = steady_clock::now() + 10s;
    while (one.peers() == 0 && steady_clock::now() < giveUp) std::this_thread::sleep_for(10ms);
    if (one.peers() == 0) {
      state.SkipWithError("the two peers did not meet: no multicast between this machine's processes");
      break;
    }
    const double cpu = cpuSeconds();
    const auto start = steady_clock::now();
    std::this_thread::sleep_for(seconds(state.range(0)));
    const double wall = duration<double>(steady_clock::now() - start).count();
    state.counters["core_percent_per_peer"] = (cpuSeconds() - cpu) / 2 / wall * 100;
    state.counters["peers"] = static_cast<double>(one.peers());
  }
}
BENCHMARK(BM_IdleInASessionOfTwo)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
