// The tick runs every 75 ms for hours: once its buffers have grown it must not allocate.
#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/ui/main_fixture.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using SteadyState = MainTest;

TEST_F(SteadyState, ATypicalShowTickAllocatesNothing) {
  main.Check5.setValue(1);
  main.Check8.setValue(0);
  main.Check9.setValue(0);
  main.Check2.setValue(1);
  main.Check3.setValue(1);
  main.Check4.setValue(1);
  for (int s = 0; s < 8; ++s) {
    bar(s, 1 + s * 10, 10 + s * 10, 100, 10);
    for (int j = 1; j <= 4; ++j) Arrays::barChannels[s][j] = static_cast<std::int16_t>(s * 4 + j);
  }
  for (int id = Arrays::kVuLeft; id <= Arrays::kBeatBar; ++id) Arrays::outputChannels[id][1] = static_cast<std::int16_t>(100 + id);
  host->keep = false;
  std::string hex;
  for (int i = 0; i < 288; ++i) hex += i % 2 ? "c8" : "3a";
  spectrum(hex);
  vbvis_script_vu(9000, 12000);
  const long start = allocations;
  tick();
  EXPECT_GT(allocations - start, 0) << "the first tick grows its buffers, and the counter sees it";
  tick();
  const long before = allocations;
  for (int i = 0; i < 20; ++i) tick();
  EXPECT_EQ(allocations - before, 0);
}

}  // namespace
