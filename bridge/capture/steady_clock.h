#pragma once
#include <chrono>
#include <cstdint>

namespace vbvis {

// The bridge's real-time clock in microseconds (the steady clock).
inline std::int64_t steadyNowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace vbvis
