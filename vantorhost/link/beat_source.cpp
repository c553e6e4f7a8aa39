#include "vantorhost/link/beat_source.h"

#include <array>
#include <cmath>
#include <type_traits>
#include <utility>

namespace vantorhost {

BeatSource::BeatSource(LinkGrid& link, ReadTracker readTracker) : link_(link), readTracker_(std::move(readTracker)) {}

void BeatSource::readSession(vbvis_tracker_state& out, std::int64_t fromUs) const {
  std::array<LinkBeat, std::extent_v<decltype(vbvis_tracker_state::next_beats_us)>> beats{};
  const double bpm = link_.tempo();
  if (link_.beatsFrom(fromUs, beats) != beats.size() || !(bpm > 0)) return;
  out = {};
  out.bpm = bpm;
  out.confidence = 100;
  out.locked = 1;
  out.period_us = std::llround(60e6 / bpm);
  for (std::size_t i = 0; i < beats.size(); ++i) out.next_beats_us[i] = beats[i].atUs;
}

int BeatSource::barPlace(std::int64_t beatUs) const {
  const double bpm = link_.tempo();
  std::array<LinkBeat, 1> beat{};
  if (!followsSession_ || !(bpm > 0)) return -1;
  // The session's whole beat nearest to it.
  if (link_.beatsFrom(beatUs - std::llround(30e6 / bpm), beat) != 1) return -1;
  return beat[0].inBar;
}

bool BeatSource::say(bool session, std::string state) {
  const bool same = session == followsSession_;
  followsSession_ = session;
  if (state == state_) return same;
  state_ = std::move(state);
  if (onSwitch) onSwitch(state_);
  return same;
}

bool BeatSource::read(vbvis_tracker_state& out, std::int64_t fromUs) {
  readTracker_(out);
  const bool byHand = std::exchange(byHand_, false);
  if (choice_ == BeatSourceChoice::Tracker) return say(false, "the beat follows the tracker");
  if (!link_.enabled()) return say(false, "Link is off: the beat follows the tracker");
  const bool others = link_.peers() > 0;
  if (choice_ == BeatSourceChoice::Lead && out.locked && out.next_beats_us[0] >= 0) {
    link_.lead(out.bpm, out.next_beats_us[0], byHand);
    readSession(out, fromUs);
    return say(true, "the tracker leads the Link session; the beat follows the session");
  }
  if (!others)
    return say(false, choice_ == BeatSourceChoice::Lead
                          ? "the tracker is not locked and no other Link peer is there: the beat follows the tracker"
                          : "no other Link peer: the beat follows the tracker");
  readSession(out, fromUs);
  return say(true, "the beat follows the Link session");
}

}  // namespace vantorhost
