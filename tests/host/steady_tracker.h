#pragma once
// A beat tracker locked on a steady beat at `bpm` heard at firstUs + k
// periods, on the host's clock in milliseconds that the test moves.
#include <cstdint>

#include "vantorhost/output/tracker_clock.h"

struct SteadyTracker {
  const std::int64_t& nowMs;
  double bpm = 120;
  std::int64_t firstUs = 1'000'000;
  std::int64_t staleMs = 0;  // how far behind now the newest audio it tracked lies
  bool locked = true;        // false: the music stopped, no beat

  std::int64_t periodUs() const { return static_cast<std::int64_t>(60e6 / bpm); }
  void read(vbvis_tracker_state& s) const {
    s = {};
    for (auto& beat : s.next_beats_us) beat = -1;
    if (!locked) return;
    s.locked = 1;
    s.bpm = bpm;
    s.confidence = 90;
    s.period_us = periodUs();
    // The next four beats after the newest audio it tracked.
    const std::int64_t seenUs = (nowMs - staleMs) * 1000;
    std::int64_t k = seenUs < firstUs ? 0 : (seenUs - firstUs) / periodUs() + 1;
    for (auto& beat : s.next_beats_us) beat = firstUs + k++ * periodUs();
  }
  // The tracker clock a beat output reads it through.
  vantorhost::TrackerClock clock() const {
    return vantorhost::TrackerClock(
        [this](vbvis_tracker_state& s, std::int64_t) {
          read(s);
          return true;
        },
        [this] { return nowMs * 1000; });
  }
};
