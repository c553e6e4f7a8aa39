// What the beat tracker costs per second of audio (target: at most 3 ms of
// CPU, 0.3 % of a core): the tracker alone over the demo track in 10 ms
// pieces, and through the C functions as a host drives it on the simulated
// clock (vbvis_tracker_update every 10 ms, the file source's reading
// included). The counter core_share is the share of one core it takes when
// it keeps up with real time.
#include <benchmark/benchmark.h>

#include <span>
#include <vector>

#include "bridge/beat/beat_tracker.h"
#include "bridge/capture/demo_track.h"
#include "bridge/vbvis.h"

namespace {

constexpr int kRate = vbvis::DemoTrack::kRate;
constexpr int kPiece = kRate / 100;

void reportShare(benchmark::State& state, double audioSecondsPerIteration) {
  state.counters["core_share"] = benchmark::Counter(static_cast<double>(state.iterations()) * audioSecondsPerIteration,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_TrackerPerSecondOfAudio(benchmark::State& state) {
  vbvis::DemoTrack demo;
  std::vector<float> audio(2 * kRate * 8);
  demo.read(audio.data(), audio.size() / 2);
  vbvis::BeatTracker tracker(kRate);
  std::size_t at = 0;
  for (auto _ : state) {
    for (int piece = 0; piece < 100; ++piece) {
      tracker.push(std::span<const float>(audio).subspan(at, 2 * kPiece));
      at = (at + 2 * kPiece) % audio.size();
    }
    benchmark::DoNotOptimize(tracker.state());
  }
  reportShare(state, 1.0);
}
BENCHMARK(BM_TrackerPerSecondOfAudio)->Unit(benchmark::kMillisecond);

std::int64_t simulatedMs = 0;
std::int64_t readClock(void*) { return simulatedMs; }

void BM_TrackerUpdatesOnTheSimulatedClock(benchmark::State& state) {
  vbvis_set_clock(&readClock, nullptr);
  simulatedMs = 0;
  vbvis_open("demo");
  vbvis_tracker_state tracked{};
  for (auto _ : state) {
    for (int update = 0; update < 100; ++update) {
      simulatedMs += 10;
      vbvis_tracker_update();
      benchmark::DoNotOptimize(vbvis_tracker(&tracked));
    }
  }
  state.counters["locked"] = tracked.locked;
  state.counters["bpm"] = tracked.bpm;
  reportShare(state, 1.0);
  vbvis_close();
  vbvis_set_clock(nullptr, nullptr);
}
BENCHMARK(BM_TrackerUpdatesOnTheSimulatedClock)->Unit(benchmark::kMillisecond);

}  // namespace
