#pragma once
#include <cstdint>

namespace vantorhost {

// How long to wait before the next attempt to reach olad: 250 ms while the
// outage is young, so a restarted olad gets its values back quickly, then
// 500 ms and at most 1 s, so a missing olad costs next to nothing.
class RetryDelay {
 public:
  static constexpr std::int64_t kFirstMs = 250;
  static constexpr std::int64_t kLongestMs = 1000;

  // The wait before the next attempt; each call is one failed attempt.
  std::int64_t next();
  // olad answered: the next outage starts short again.
  void reset() { failures_ = 0; }

 private:
  int failures_ = 0;
};

}  // namespace vantorhost
