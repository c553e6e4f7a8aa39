#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "bridge/beat/tap_tempo.h"
#include "bridge/beat/tracker_state.h"

namespace vbvis {

// The operator's hands on the beat, from any thread: taps that set the
// tempo and the phase, nudges by a fine step or by half a beat, and a hold
// that freezes the beat until the tracker is let lead again. The tracker
// takes the taps and the half-beat nudges (take(), on its own thread) and
// goes on from them; until it has, and for the fine trim and the hold
// always, the beat output shows them at once (show()). Times are on the
// bridge's clock.
class BeatHands {
 public:
  // A tap at `atUs`; returns how many taps the row has.
  int tap(std::int64_t atUs);
  // Moves the beats `us` later (earlier when negative); the trim adds up,
  // within kMaxTrimUs either way, and stays until the next tap or source.
  void nudge(std::int64_t us);
  // Moves the beat by half a beat: the tracker's grid moves with it.
  void nudgeHalf();
  // Holds the beat shown now (`tracked` as the tracker has it, at `nowUs`)
  // at its tempo and phase whatever the audio does, or lets the tracker
  // lead again. Taps and nudges while held move the held beat.
  void hold(bool on, const TrackerState& tracked, std::int64_t nowUs);
  bool held() const;
  // A new source: the row of taps, what the tracker has not taken and the
  // trim go; a hold stays.
  void clear();

  // What the tracker has not been told yet, taken once: the grid of the
  // last tap (if any came), the half-beat nudges since, and the number of
  // the last order taken (TrackerState::handsSeen).
  struct Orders {
    bool tapped = false;
    TapTempo::Grid grid;
    int halves = 0;
    std::uint64_t seen = 0;
  };
  Orders take();

  // The beat output: the tracker's state with what it has not taken yet,
  // the trim and the hold applied; where these made the beats, the next
  // ones after `nowUs`. A tracker's state whose audio is more than
  // kStaleUs old shows no beats: its source stopped giving audio.
  TrackerState show(const TrackerState& tracked, std::int64_t nowUs);

  static constexpr std::int64_t kMaxTrimUs = 1'000'000;
  static constexpr std::int64_t kStaleUs = 500'000;

 private:
  struct Order {
    std::uint64_t number = 0;
    bool tap = false;  // else half a beat
    TapTempo::Grid grid;
  };
  TrackerState untrimmed(const TrackerState& tracked, std::int64_t nowUs);

  mutable std::mutex mutex_;  // guards everything below
  TapTempo taps_;
  std::vector<Order> orders_;  // given and not yet seen in the tracker's state, oldest first
  std::uint64_t given_ = 0;    // number of the last order
  std::uint64_t taken_ = 0;    // of the last one the tracker took
  std::int64_t trimUs_ = 0;
  bool held_ = false;
  TapTempo::Grid heldGrid_;    // periodUs 0: nothing held (not locked when the hold began)
};

}  // namespace vbvis
