#pragma once
// The bridge's beat tracker on the host's clock: when the beats it predicts
// fall due. The tracker says when the next beats will be heard (its capture
// latency already taken off) and refines that as audio comes in; the clock
// keeps the next beat it promised until it falls due, even when the
// tracker no longer lists it (heard already, but held back by a delay),
// takes each refinement of it, lets it go for the next one listed when it
// has moved before it was heard (but not when another source took over:
// the beat it promised still goes out, so the change costs no beat), and
// never gives one beat twice.
#include <cstdint>
#include <functional>

#include "bridge/vbvis.h"

namespace vantorhost {

// One reading of the tracker at a host time.
struct TrackerReading {
  bool beatDue = false;      // a beat falls due now
  std::int64_t beatUs = -1;  // when that beat is heard (bridge clock)
  double bpm = 0;            // the tempo the tracker follows (0: not locked)
  std::int64_t nextMs = -1;  // host time the next beat falls due; -1: none known
};

class TrackerClock {
 public:
  // Writes the predicted beats; those heard before `fromUs` could no
  // longer go out in time (the bridge's tracker lists what it has anyway).
  // Returns false when another source than the last reading's wrote them.
  using ReadTracker = std::function<bool(vbvis_tracker_state&, std::int64_t fromUs)>;
  using BridgeClockUs = std::function<std::int64_t()>;
  // A beat whose time passed by more than this when it is read (the host
  // was busy) is let go rather than given late.
  static constexpr std::int64_t kLateLimitUs = 40'000;
  // Within this of its time a beat counts as due: a host reads in whole
  // milliseconds.
  static constexpr std::int64_t kDueWithinUs = 500;

  // The bridge's tracker and clock by default.
  TrackerClock();
  TrackerClock(ReadTracker readTracker, BridgeClockUs bridgeClockUs);

  // Reads the tracker at host time `nowMs`. A beat falls due `leadUs`
  // before it is heard (a light that takes that long to get out); a lead
  // below zero holds it back.
  TrackerReading read(std::int64_t nowMs, std::int64_t leadUs = 0);

 private:
  // The earliest predicted beat after the last one given; -1 for none.
  std::int64_t nextBeatUs(const vbvis_tracker_state& state) const;
  // Takes the tracker's latest word on the pending beat; `sameSource`: the
  // word comes from the source that promised it.
  void followPending(const vbvis_tracker_state& state, std::int64_t bridgeNowUs, bool sameSource);

  ReadTracker readTracker_;
  BridgeClockUs bridgeClockUs_;
  std::int64_t lastBeatUs_ = -1;  // bridge time of the last beat given or let go
  std::int64_t pendingUs_ = -1;   // bridge time of the next beat; -1 none
  bool otherSourcesPromise_ = false;  // the next beat was promised by a source that gave way
};

}  // namespace vantorhost
