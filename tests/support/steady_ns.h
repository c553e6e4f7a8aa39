#pragma once
#include <chrono>
#include <cstdint>

// Every time stamp of the measurement: CLOCK_MONOTONIC in nanoseconds, the
// clock perf's uprobes are recorded on too, so no two clocks need syncing.
inline std::int64_t steadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
