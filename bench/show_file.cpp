// The fullest show (288 bars, every list full with 1024 channels, all 22
// parameters): opening it into the loaded plug-in (read, check, clear,
// write, refresh the windows), saving it, and reading the design back as the
// host window does once a second to mark unsaved changes.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "toolkit/application.h"
#include "toolkit/simulated_loop.h"
#include "vantorhost/session/host_session.h"
#include "vantorhost/show/show_file.h"

using namespace vantorhost;

namespace {

namespace fs = std::filesystem;

class FullestShow {
 public:
  FullestShow() {
    char pattern[] = "/tmp/sonvero-bench-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    ::setenv("SONVERO_SETTINGS_DIR", dir_.c_str(), 1);
    tk::app().setLoop(&loop_);
    session_ = std::make_unique<HostSession>(SONVERO_PLUGIN_PATH, loop_);
    session_->start();
    IPluginDesign& plugin = *session_->design();
    ShowDesign design;
    for (int id = 1; id <= 6; ++id)
      for (int slot = 0; slot < (id == 1 ? 288 : 1); ++slot) {
        ShowList list{id, slot, {}};
        for (int i = 0; i < 1024; ++i) list.channels.push_back(static_cast<std::int16_t>((slot + i * 7) % 1024 + 1));
        design.lists.push_back(std::move(list));
      }
    for (int slot = 0; slot < 288; ++slot)
      design.bars.push_back({slot, static_cast<std::int16_t>(slot + 1), 288, 150, 20, 1, 200});
    for (std::int32_t value : plugin.readParameters()) design.parameters.emplace_back(value);
    applyDesign(*session_, design);
    if (!saveShow(*session_, file())) std::abort();
  }
  ~FullestShow() {
    session_.reset();
    tk::app().setLoop(nullptr);
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  HostSession& session() { return *session_; }
  fs::path file() const { return dir_ / "full.show"; }

 private:
  fs::path dir_;
  tk::SimulatedLoop loop_;
  std::unique_ptr<HostSession> session_;
};

FullestShow& fullest() {
  static FullestShow show;
  return show;
}

void OpenTheFullestShow(benchmark::State& state) {
  FullestShow& show = fullest();
  state.counters["bytes"] = static_cast<double>(fs::file_size(show.file()));
  for (auto _ : state)
    tk::app().runEvent([&] {
      if (!openShow(show.session(), show.file())) std::abort();
    });
}
BENCHMARK(OpenTheFullestShow)->Unit(benchmark::kMillisecond);

void SaveTheFullestShow(benchmark::State& state) {
  FullestShow& show = fullest();
  for (auto _ : state)
    if (!saveShow(show.session(), show.file())) std::abort();
}
BENCHMARK(SaveTheFullestShow)->Unit(benchmark::kMillisecond);

void ReadTheFullestDesign(benchmark::State& state) {
  FullestShow& show = fullest();
  for (auto _ : state) benchmark::DoNotOptimize(readDesign(show.session()));
}
BENCHMARK(ReadTheFullestDesign)->Unit(benchmark::kMicrosecond);

}  // namespace
