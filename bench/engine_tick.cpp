// Cost of one main tick (Timer1_Timer) in three shows: no bars at all; a
// typical show of 8 bars of 10 pixels with 4 channels each, all three beat
// detectors on and output on; the worst the tables allow, 288 bars of 288
// pixels with 1024 channels each and all five fixed lists full. Channel
// values go to the host's own helper, which stores them into its
// 1024-channel buffer (no trace); the worst case once more with a helper
// whose calls do nothing shows how much of it is the host's side of the calls.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "bridge/vbvis.h"
#include "hostlink/vantor.h"
#include "model/arrays.h"
#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "ui/Main.h"
#include "vantorhost/session/host_helper.h"

using namespace vantorhost;

namespace {

// A host whose stream takes every call and does nothing with it.
class IdleHost final : public VantorTypeLib::IPluginHelper {
  class Stream final : public VantorTypeLib::IMyStream {
    void UserInteraction() override {}
    void SetChannel(VantorTypeLib::Variant&, VantorTypeLib::Variant&, const VantorTypeLib::Variant&) override {}
  };
  class Messages final : public VantorTypeLib::IMessages {
    void Send(const VantorTypeLib::Variant&, const VantorTypeLib::Variant&, const VantorTypeLib::Variant&) override {}
  };
  Stream stream_;
  Messages messages_;

 public:
  VantorTypeLib::IMyStream& MyStream() override { return stream_; }
  VantorTypeLib::IMessages& Messages() override { return messages_; }
};

struct Show {
  tk::SimulatedLoop loop;
  ChannelBuffer channels;
  PluginBeatCounter beats;
  Main& main = mainForm();

  Show() {
    ::setenv("SONVERO_SETTINGS_DIR", "/nonexistent/sonvero-bench", 1);  // defaults, never saved
    tk::app().setLoop(&loop);
    vbvis_open("script");
    Arrays::resetAll();
    Vantor::pluginHelper = std::make_shared<HostHelper>(channels, beats, [this] { return loop.nowMs(); });
    tk::app().runEvent([this] { main.show(); });
    // A spectrum that moves every pixel off the baseline.
    std::string hex;
    for (int i = 0; i < 288; ++i) hex += i % 3 ? "c8" : "5a";
    vbvis_script_spectrum(288, hex.data(), static_cast<std::int32_t>(hex.size()));
    vbvis_script_vu(9000, 12000);
  }
  ~Show() {
    tk::app().discardAll();
    Vantor::pluginHelper.reset();
    vbvis_close();
    tk::app().setLoop(nullptr);
  }
  void outputOnAllDetectors() {
    for (tk::CheckBox* c : {&main.Check5, &main.Check8, &main.Check9, &main.Check2, &main.Check3, &main.Check4})
      c->setValue(c == &main.Check8 || c == &main.Check9 ? 0 : 1);
  }
  static void bar(int slot, int from, int to) {
    Arrays::bars[slot] = {static_cast<std::int16_t>(slot + 1), static_cast<std::int16_t>(from),
                          static_cast<std::int16_t>(to), 0, 100, 10, 0, 1};
  }
  static void fill(Arrays::ChannelList& list, int first, int count) {
    for (int j = 1; j <= count; ++j) list[j] = static_cast<std::int16_t>((first + j - 2) % 1024 + 1);
  }
  void run(benchmark::State& state) {
    main.Timer1_Timer();  // buffers grow once
    for (auto _ : state) main.Timer1_Timer();
    benchmark::DoNotOptimize(channels.get(1));
  }
};

void BM_TickNoBars(benchmark::State& state) {
  Show show;
  show.run(state);
}
BENCHMARK(BM_TickNoBars)->Unit(benchmark::kMicrosecond);

void BM_TickTypicalShow(benchmark::State& state) {
  Show show;
  show.outputOnAllDetectors();
  for (int s = 0; s < 8; ++s) {
    Show::bar(s, 1 + 10 * s, 10 + 10 * s);
    Show::fill(Arrays::barChannels[s], 1 + 4 * s, 4);
  }
  for (int id = Arrays::kVuLeft; id <= Arrays::kBeatBar; ++id) Show::fill(Arrays::outputChannels[id], 100 + id, 1);
  show.run(state);
}
BENCHMARK(BM_TickTypicalShow)->Unit(benchmark::kMicrosecond);

void worstCase(Show& show) {
  show.outputOnAllDetectors();
  for (int s = 0; s < Arrays::kBarSlots; ++s) {
    Show::bar(s, 1, 288);
    Show::fill(Arrays::barChannels[s], 1 + s, Arrays::kListEntries);
  }
  for (int id = Arrays::kVuLeft; id <= Arrays::kBeatBar; ++id)
    Show::fill(Arrays::outputChannels[id], 1, Arrays::kListEntries);
}

void BM_TickWorstCase(benchmark::State& state) {
  Show show;
  worstCase(show);
  show.run(state);
  state.counters["channel writes"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * (288 + 5) * 1024, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TickWorstCase)->Unit(benchmark::kMillisecond);

void BM_TickWorstCaseIdleHost(benchmark::State& state) {
  Show show;
  worstCase(show);
  Vantor::pluginHelper = std::make_shared<IdleHost>();
  show.run(state);
}
BENCHMARK(BM_TickWorstCaseIdleHost)->Unit(benchmark::kMillisecond);

}  // namespace
