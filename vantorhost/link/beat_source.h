#pragma once
// What the beat output follows (the show's `beats source`): the bridge's
// tracker, the Link session's beat grid, or the grid that this Sonvero
// leads from its tracker. It reads as the tracker does, the next beats on
// the bridge's clock and when each is heard (vbvis_tracker_state), so the
// beat output times the session's beats exactly as the tracker's: the same
// lead for the output's latency, the same delay, and a beat is never given
// twice nor skipped when the source changes between two beats.
//
// `link` follows the tracker while Link is off or the session has no other
// peer, and the session again as soon as one is there. `lead` steers the
// session from the tracker while the tracker is locked (the session's
// tempo and phase, link/lead_rule.h) and follows the session, as every
// other machine does, while the tracker is locked or another peer is
// there; else the tracker. Each change is said through onSwitch.
//
// The operator's hands (tap, nudge, hold) act on the tracker, so they move
// the beat wherever the tracker drives it: `tracker`, `lead` (where the
// session, and every machine following it, takes what they did as it is)
// and `link` while it falls back. While `link` follows a session that
// another peer leads, the beat is that peer's, and the hands do not reach
// it (handsReach()).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "bridge/vbvis.h"
#include "vantorhost/base/beat_source_choice.h"
#include "vantorhost/link/link_grid.h"

namespace vantorhost {

class BeatSource {
 public:
  using ReadTracker = std::function<void(vbvis_tracker_state&)>;

  BeatSource(LinkGrid& link, ReadTracker readTracker);

  void choose(BeatSourceChoice choice) { choice_ = choice; }
  BeatSourceChoice choice() const { return choice_; }

  // The beats to follow now; the session's from `fromUs` on (bridge
  // clock), so a beat heard already but held back by the output delay is
  // still listed. False when they come from another source than the last
  // read's (TrackerClock::ReadTracker).
  bool read(vbvis_tracker_state& out, std::int64_t fromUs);

  // Where in its bar the beat heard at `beatUs` lies (0 for the first
  // beat), while the session drives; else -1.
  int barPlace(std::int64_t beatUs) const;

  // The operator moved the tracker's beat by hand (a tap, a nudge): while
  // this Sonvero leads, the next read gives the session that beat and tempo
  // as they are, however little they differ from it.
  void movedByHand() { byHand_ = true; }
  // Whether the operator's hands reach the beat that goes out: not while
  // `link` follows the session.
  bool handsReach() const { return !(followsSession_ && choice_ == BeatSourceChoice::Link); }

  // What drove the last read, and why, as the log and the window say it.
  bool followsSession() const { return followsSession_; }
  const std::string& state() const { return state_; }
  // Told when what drives the beat changes, with the new state().
  std::function<void(const std::string&)> onSwitch;

 private:
  void readSession(vbvis_tracker_state& out, std::int64_t fromUs) const;
  // Returns whether the same source drove before.
  bool say(bool session, std::string state);

  LinkGrid& link_;
  ReadTracker readTracker_;
  BeatSourceChoice choice_ = BeatSourceChoice::Tracker;
  bool followsSession_ = false;
  bool byHand_ = false;  // movedByHand() since the last read
  std::string state_ = "the beat follows the tracker";
};

}  // namespace vantorhost
