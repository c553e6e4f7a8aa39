#pragma once
// The Link session as the beat source reads and leads it: LinkSession on
// the network, or a stand-in in tests.
#include <cstddef>
#include <cstdint>
#include <span>

#include "vantorhost/base/beat_pattern.h"
#include "vantorhost/link/lead_rule.h"

namespace vantorhost {

// Link's quantum: the session's whole beats counted in bars, so a chase
// starts on the bar.
inline constexpr int kLinkQuantum = kBeatsPerBar;

// A whole beat of the session's grid.
struct LinkBeat {
  std::int64_t atUs = 0;  // when it is heard (steady clock)
  int inBar = 0;          // 0 for the bar's first beat, up to kLinkQuantum - 1
  bool operator==(const LinkBeat&) const = default;
};

class LinkGrid {
 public:
  virtual ~LinkGrid() = default;
  virtual bool enabled() const = 0;
  // The other peers in the session; 0 when off.
  virtual std::size_t peers() const = 0;
  // The session's tempo; 0 when off.
  virtual double tempo() const = 0;
  // The session's whole beats at or after `fromUs`, as many as `out` holds
  // (ascending); how many were written (0 when off).
  virtual std::size_t beatsFrom(std::int64_t fromUs, std::span<LinkBeat> out) const = 0;
  // A leader's word from its tracker: the tempo it follows and a beat it
  // hears at `beatUs`, `byHand` when the operator moved that beat; the
  // session changes as leadStep() says. Returns what changed (nothing when
  // off).
  virtual LeadStep lead(double bpm, std::int64_t beatUs, bool byHand) = 0;
};

}  // namespace vantorhost
