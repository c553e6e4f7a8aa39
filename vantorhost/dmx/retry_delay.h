#pragma once
#include <cstdint>

namespace vantorhost {

// How long to wait before the next attempt to reach olad: 250 ms while the
// outage is young, so a restarted olad gets its values back quickly, then
// doubling every `attemptsPerStep` attempts (8 by default) up to `longestMs`
// (1 s by default, so a missing olad costs next to nothing).
class RetryDelay {
 public:
  static constexpr std::int64_t kFirstMs = 250;
  static constexpr std::int64_t kLongestMs = 1000;
  // Attempts at each step before the wait doubles: 2 s at 250 ms, 4 s at 500 ms, ...
  static constexpr int kAttemptsPerStep = 8;

  explicit RetryDelay(std::int64_t longestMs = kLongestMs, int attemptsPerStep = kAttemptsPerStep)
      : longestMs_(longestMs), attemptsPerStep_(attemptsPerStep) {}
  // The wait before the next attempt; each call is one failed attempt.
  std::int64_t next();
  // olad answered: the next outage starts short again.
  void reset() { failures_ = 0; }

 private:
  std::int64_t longestMs_;
  int attemptsPerStep_;
  int failures_ = 0;
};

}  // namespace vantorhost
