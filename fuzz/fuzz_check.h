#pragma once
// A broken invariant inside a fuzz target: say which one and where, then
// abort, so that libFuzzer (or the corpus replay under ctest) keeps the
// input as a crash. Unlike assert it stays on in optimised builds.
#include <cstdio>
#include <cstdlib>

namespace fuzz {

[[noreturn]] inline void fail(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
  std::abort();
}

}  // namespace fuzz

#define FUZZ_REQUIRE(condition) \
  ((condition) ? static_cast<void>(0) : ::fuzz::fail(#condition, __FILE__, __LINE__))
