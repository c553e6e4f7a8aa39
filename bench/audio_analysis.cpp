// The audio bridge's cost and its latency:
//  - the analysis of one 75 ms tick of 48 kHz stereo (4096-point FFTs over
//    every new sample, 288 pixels, two levels), alone and through the C
//    functions the plug-in calls (the demo track on a simulated clock);
//  - from a click in a file to the first "SetChannel ... 255" of Beat: VU
//    in the trace of a scripted run (counters latency_max_ms, latency_mean_ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bridge/analysis/spectrum_analyzer.h"
#include "bridge/capture/demo_track.h"
#include "bridge/vbvis.h"
#include "vantorhost/run/run_script.h"
#include "vantorhost/session/plugin_library.h"

using namespace vantorhost;

namespace {

constexpr int kTickMs = 75;
constexpr int kTickFrames = vbvis::DemoTrack::kRate * kTickMs / 1000;

void BM_AnalysisPerTick(benchmark::State& state) {
  vbvis::SpectrumAnalyzer analyzer(vbvis::DemoTrack::kRate);
  vbvis::DemoTrack demo;
  std::vector<float> tick(2 * kTickFrames);
  demo.read(tick.data(), kTickFrames);
  for (auto _ : state) benchmark::DoNotOptimize(analyzer.analyse(tick));
  // Share of one core the analysis takes at one tick per 75 ms.
  state.counters["core_share"] =
      benchmark::Counter(static_cast<double>(state.iterations()) / (1000.0 / kTickMs),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AnalysisPerTick)->Unit(benchmark::kMicrosecond);

std::int64_t simulatedMs = 0;
std::int64_t readClock(void*) { return simulatedMs; }

// One tick's reads as the plug-in makes them: the spectrum twice (two calls
// each), the levels three times; only the first call analyses.
void BM_BridgeTickOnDemoTrack(benchmark::State& state) {
  vbvis_set_clock(&readClock, nullptr);
  simulatedMs = 0;
  vbvis_open("demo");
  std::string text(577, ' ');
  for (auto _ : state) {
    simulatedMs += kTickMs;
    for (int read = 0; read < 2; ++read) {
      benchmark::DoNotOptimize(vbvis_spectrum(0, nullptr, 0));
      benchmark::DoNotOptimize(vbvis_spectrum(0, text.data(), 577));
    }
    benchmark::DoNotOptimize(vbvis_vu(0) + vbvis_vu(1) + vbvis_vu(0));
  }
  vbvis_close();
  vbvis_set_clock(nullptr, nullptr);
}
BENCHMARK(BM_BridgeTickOnDemoTrack)->Unit(benchmark::kMicrosecond);

// Clicks every 500 ms from 100 ms on, in a file made by sox; Beat: VU on
// channel 10. The latency is simulated time, the same on every machine.
void BM_ClickToBeatVuLatency(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "sonvero-bench-latency";
  std::filesystem::create_directories(folder);
  const std::string wav = (folder / "clicks.wav").string();
  const std::string sox = "sox -R -D -n -r 48000 -b 16 -c 2 '" + wav +
                          "' synth 0.002 square 1000 vol 0.9 pad 0.1 0.398 repeat 19 2>/dev/null";
  if (std::system(sox.c_str()) != 0) {
    state.SkipWithError("sox is missing");
    return;
  }
  const std::string script = (folder / "clicks.script").string();
  std::ofstream(script) << "set Main.Check5 1\nset Main.Check3 1\nset Main.VScroll8 0\nset Main.VScroll3 128\n"
                        << "set Main.Option1(0) 1\nlist 4 10\naudio file:" << wav << "\nadvance 10100\n";
  HostOptions options;
  options.mode = HostOptions::Mode::Script;
  options.scriptPath = script;
  options.tracePath = (folder / "clicks.trace").string();
  options.settingsDir = folder.string();
  options.pluginPath = defaultPluginPath();
  setenv("SONVERO_SETTINGS_DIR", options.settingsDir.c_str(), 1);
  double worst = 0, sum = 0;
  int clicks = 0;
  for (auto _ : state) {
    if (runScript(options) != 0) {
      state.SkipWithError("the script run failed");
      break;
    }
    std::ifstream trace(options.tracePath);
    std::string line;
    worst = sum = 0;
    clicks = 0;
    std::int64_t nextClick = 100;
    while (std::getline(trace, line)) {
      std::istringstream words(line);
      std::int64_t time = 0;
      std::string what, channel, value;
      words >> time >> what >> channel >> value;
      if (what != "SetChannel" || channel != "10" || value != "255" || time < nextClick) continue;
      worst = std::max(worst, static_cast<double>(time - nextClick));
      sum += static_cast<double>(time - nextClick);
      ++clicks;
      while (nextClick <= time) nextClick += 500;
    }
  }
  state.counters["clicks"] = clicks;
  state.counters["latency_max_ms"] = worst;
  state.counters["latency_mean_ms"] = clicks ? sum / clicks : 0;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ClickToBeatVuLatency)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
