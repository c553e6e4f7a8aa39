// The fixture library over the open fixture library (qlcplus-data, 1,358
// definitions) and Sonvero's own: what its index costs the first time it is
// asked (what a start with a patched show pays; a start without one pays
// nothing), that start in full with eight fixtures, one keystroke of the
// search as you type, and reading the largest definition whole.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "vantorhost/fixtures/fixture_folders.h"
#include "vantorhost/fixtures/fixture_library.h"
#include "vantorhost/fixtures/fixture_patch.h"
#include "vantorhost/fixtures/qxf_reader.h"

using namespace vantorhost;
namespace fs = std::filesystem;

namespace {

std::vector<fs::path> folders() { return {SHIPPED_FIXTURES_DIR, kOpenFixtureLibrary}; }

bool installed(benchmark::State& state) {
  if (fs::is_directory(kOpenFixtureLibrary)) return true;
  state.SkipWithError("qlcplus-data is not installed");
  return false;
}

void BM_IndexFirstQuestion(benchmark::State& state) {
  if (!installed(state)) return;
  for (auto _ : state) {
    FixtureLibrary library(folders());
    benchmark::DoNotOptimize(library.entries().size());
  }
}
BENCHMARK(BM_IndexFirstQuestion)->Unit(benchmark::kMillisecond);

// Drops the definitions' pages from the page cache (only theirs, so nothing
// else on the machine slows down), as after a reboot.
void dropDefinitionPages() {
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kOpenFixtureLibrary)) {
    const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
  }
}

// The same with the definitions read from the disk.
void BM_IndexColdCache(benchmark::State& state) {
  if (!installed(state)) return;
  for (auto _ : state) {
    state.PauseTiming();
    dropDefinitionPages();
    state.ResumeTiming();
    FixtureLibrary library(folders());
    benchmark::DoNotOptimize(library.entries().size());
  }
}
BENCHMARK(BM_IndexColdCache)->Unit(benchmark::kMillisecond)->Iterations(5);

// A show of eight fixtures of seven models opened at the start; with the
// argument 1 the definitions are read from the disk.
void BM_StartWithEightFixtures(benchmark::State& state) {
  if (!installed(state)) return;
  const FixturePlacement placements[] = {
      {"par1", "Sonvero", "RGB Dimmer", "RGB Dimmer", 1},    {"par2", "Sonvero", "RGB Dimmer", "RGB Dimmer", 5},
      {"wash", "Generic", "Generic RGBW", "RGBW", 9},         {"spot", "AFX", "Spot 60 LED", "14 Channel", 13},
      {"bar", "Stairville", "LED Bar 240/8 RGB", "5-channel", 27}, {"dim", "Sonvero", "Dimmer", "1 channel", 40},
      {"head", "Robe", "Robin Tetra 2", "1-Wash", 100},        {"rgb", "Sonvero", "RGB", "RGB", 300},
  };
  for (auto _ : state) {
    if (state.range(0)) {
      state.PauseTiming();
      dropDefinitionPages();
      state.ResumeTiming();
    }
    FixtureLibrary library(folders());
    FixturePatch patch;
    for (const FixturePlacement& p : placements) benchmark::DoNotOptimize(patch.place(p, library));
    for (const PatchedFixture& f : patch.fixtures())
      if (!f.problem.empty() || patch.fixtures().size() != std::size(placements)) state.SkipWithError(f.problem.c_str());
  }
}
BENCHMARK(BM_StartWithEightFixtures)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartWithEightFixtures)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// Each keystroke of "martin mac aura" searched anew, as the patch window does.
void BM_SearchKeystroke(benchmark::State& state) {
  if (!installed(state)) return;
  FixtureLibrary library(folders());
  library.entries();
  const std::string typed = "martin mac aura";
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(library.search(typed.substr(0, i % typed.size() + 1)).size());
    ++i;
  }
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMicrosecond);

void BM_ReadLargestDefinition(benchmark::State& state) {
  const fs::path file = fs::path(kOpenFixtureLibrary) / "American_DJ" / "American-DJ-Hyper-Gem-LED.qxf";
  if (!fs::exists(file)) {
    state.SkipWithError("qlcplus-data is not installed");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(readDefinitionFile(file).definition.has_value());
}
BENCHMARK(BM_ReadLargestDefinition)->Unit(benchmark::kMicrosecond);

}  // namespace
