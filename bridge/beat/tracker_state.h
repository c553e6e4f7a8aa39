#pragma once
#include <array>
#include <cstdint>

namespace vbvis {

// What the beat tracker says now, on the bridge's clock: the C++ twin of
// vbvis_tracker_state, which vbvis_tracker fills from it.
struct TrackerState {
  double bpm = 0.0;           // the followed tempo; 0 when not locked
  int confidence = 0;         // 0..100
  bool locked = false;        // the next beats can be fired
  std::int64_t periodUs = 0;  // one beat; 0 when not locked
  // The next beats after the newest audio tracked, ascending; -1 for none.
  std::array<std::int64_t, 4> nextBeatsUs{-1, -1, -1, -1};
  // The number of the operator's last order the tracker has taken in (BeatHands).
  std::uint64_t handsSeen = 0;
  // When the newest audio tracked is heard: a state whose audio stopped
  // coming (the source went away) says nothing about the beats to come.
  std::int64_t heardUs = 0;
};

}  // namespace vbvis
