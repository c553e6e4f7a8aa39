// Cost of the output path per hand-on: a tick of the plug-in's that changes
// all 1024 channels with every stage at rest (the path as it was before it
// had stages), the same with the fade, master and a layer at work, and one
// fade frame with all 1024 channels on their way down. The DMX output
// takes the values and drops them, so only the path counts.
#include <benchmark/benchmark.h>

#include "vantorhost/output/output_path.h"

using namespace vantorhost;

namespace {

class DroppingOutput final : public DmxOutput {
 public:
  void service(const ChannelBuffer&) override {}
  std::string status() const override { return {}; }
  DmxFacts facts() const override { return {}; }
};

// Every 8th channel at full, as a beat output's flash would be.
class EveryEighth final : public OutputLayer {
 public:
  void mergeHtp(Channels channels, std::int64_t) const override {
    for (std::size_t i = 0; i < channels.size(); i += 8) raiseTo(channels[i], 255);
  }
  std::int64_t nextChangeMs(std::int64_t) const override { return -1; }
};

struct Bench {
  std::int64_t now = 0;
  ChannelBuffer channels;
  DroppingOutput output;
  OutputPath path{channels, output, [this] { return now; }};
  void tick(int n) {
    now += 75;
    for (int c = 1; c <= ChannelBuffer::kChannels; ++c) channels.set(c, (c * 7 + n * 131) % 256, now);
    path.handOn();
  }
};

void BM_TickAtRest(benchmark::State& state) {
  Bench b;
  int n = 0;
  for (auto _ : state) b.tick(++n);
}
BENCHMARK(BM_TickAtRest);

void BM_TickThroughEveryStage(benchmark::State& state) {
  Bench b;
  EveryEighth layer;
  b.path.addLayer(layer);
  b.path.setFade(300);
  b.path.setMaster(80);
  int n = 0;
  for (auto _ : state) b.tick(++n);
  b.path.removeLayer(layer);
}
BENCHMARK(BM_TickThroughEveryStage);

void BM_FadeFrameOfAllChannels(benchmark::State& state) {
  Bench b;
  b.path.setFade(2000);
  for (auto _ : state) {
    state.PauseTiming();
    for (int c = 1; c <= ChannelBuffer::kChannels; ++c) b.channels.set(c, 255, b.now);
    b.path.handOn();
    for (int c = 1; c <= ChannelBuffer::kChannels; ++c) b.channels.set(c, 0, b.now);
    b.path.handOn();  // every channel starts its fall
    b.now += OutputPath::kFrameMs;
    state.ResumeTiming();
    b.path.handOn();  // the frame
  }
}
BENCHMARK(BM_FadeFrameOfAllChannels);

}  // namespace
