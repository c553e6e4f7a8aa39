#pragma once
// When the beats the bridge's tracker predicts fall due on the host's
// clock. The tracker says when the next beats will be heard (its capture
// latency already taken off) and refines that as audio comes in; the
// clock keeps the next beat it promised until it falls due, even when the
// tracker no longer lists it (heard already, but held back by a delay),
// takes each refinement of it, and never gives one beat twice.
#include <cstdint>
#include <functional>

#include "bridge/vbvis.h"

namespace vantorhost {

class BeatClock {
 public:
  using ReadTracker = std::function<void(vbvis_tracker_state&)>;
  using BridgeClockUs = std::function<std::int64_t()>;
  // A beat whose time passed by more than this when it is looked at (the
  // host was busy) is let go rather than given late.
  static constexpr std::int64_t kLateLimitUs = 40'000;
  // Within this of its time a beat counts as due: a host looks in whole
  // milliseconds.
  static constexpr std::int64_t kDueWithinUs = 500;

  // The bridge's tracker and clock by default.
  BeatClock();
  BeatClock(ReadTracker readTracker, BridgeClockUs bridgeClockUs);

  // How much before the beat is heard it is due: the output's latency, less
  // a delay that holds the light back for speakers that lag.
  void setLeadUs(std::int64_t leadUs) { leadUs_ = leadUs; }

  struct Look {
    bool beat = false;      // a beat falls due now
    double bpm = 0;         // the tempo the tracker follows (0: not locked)
    std::int64_t nextMs = -1;  // host time the next beat falls due; -1: none known
  };
  // Looks at the tracker at host time `nowMs`.
  Look look(std::int64_t nowMs);

 private:
  // The earliest predicted beat after the last one given; -1 for none.
  std::int64_t nextBeatUs(const vbvis_tracker_state& state) const;
  // Takes the tracker's latest word on the pending beat.
  void followPending(const vbvis_tracker_state& state);

  ReadTracker readTracker_;
  BridgeClockUs bridgeClockUs_;
  std::int64_t leadUs_ = 0;
  std::int64_t lastBeatUs_ = -1;  // bridge time of the last beat given or let go
  std::int64_t pendingUs_ = -1;   // bridge time of the next beat; -1 none
};

}  // namespace vantorhost
