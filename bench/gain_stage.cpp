// What the gain ahead of the analysis costs beside the analysis itself, on
// one 75 ms tick of 48 kHz stereo (the demo track): the analysis alone, the
// gain alone (fixed and automatic), and the two together as the bridge runs
// them.
#include <benchmark/benchmark.h>

#include <vector>

#include "bridge/analysis/spectrum_analyzer.h"
#include "bridge/capture/demo_track.h"
#include "bridge/gain/gain_stage.h"

namespace {

constexpr int kTickFrames = vbvis::DemoTrack::kRate * 75 / 1000;

std::vector<float> demoTick() {
  vbvis::DemoTrack demo;
  std::vector<float> tick(2 * kTickFrames);
  demo.read(tick.data(), kTickFrames);
  return tick;
}

// 0: fixed 0 dB (passes the audio on), 1: fixed +6 dB, 2: automatic.
void setMode(vbvis::GainStage& gain, int mode) {
  if (mode == 2) gain.setAutomatic();
  else gain.setFixed(mode == 1 ? 6.0 : 0.0);
}

void BM_GainPerTick(benchmark::State& state) {
  vbvis::GainStage gain;
  setMode(gain, static_cast<int>(state.range(0)));
  const std::vector<float> tick = demoTick();
  for (auto _ : state) benchmark::DoNotOptimize(gain.apply(tick, vbvis::DemoTrack::kRate).data());
}
BENCHMARK(BM_GainPerTick)->Arg(0)->Arg(1)->Arg(2)->ArgName("mode")->Unit(benchmark::kMicrosecond);

void BM_AnalysisPerTick(benchmark::State& state) {
  vbvis::SpectrumAnalyzer analyzer(vbvis::DemoTrack::kRate);
  const std::vector<float> tick = demoTick();
  for (auto _ : state) benchmark::DoNotOptimize(analyzer.analyse(tick));
}
BENCHMARK(BM_AnalysisPerTick)->Unit(benchmark::kMicrosecond);

void BM_AutomaticGainAndAnalysisPerTick(benchmark::State& state) {
  vbvis::GainStage gain;
  gain.setAutomatic();
  vbvis::SpectrumAnalyzer analyzer(vbvis::DemoTrack::kRate);
  const std::vector<float> tick = demoTick();
  for (auto _ : state) benchmark::DoNotOptimize(analyzer.analyse(gain.apply(tick, vbvis::DemoTrack::kRate)));
}
BENCHMARK(BM_AutomaticGainAndAnalysisPerTick)->Unit(benchmark::kMicrosecond);

}  // namespace
