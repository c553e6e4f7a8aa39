#pragma once
// Sonvero as a peer of an Ableton Link session: the session's tempo and
// beat grid, shared with DJ software and other Sonvero machines on the
// network. Link's headers (and asio under them) stay inside this room: the
// rest of the host sees only this class. Off, it holds nothing, no Link
// object, no thread, no socket; on, Link runs its own threads.
//
// Times are microseconds on the host's clock: the steady clock, the
// bridge's clock of a live run, unless told otherwise; Link's own clock is
// converted at each call (link/clock_offset.h). A beat's time says when it
// is heard, as the tracker's predictions do.
#include <cstdint>
#include <memory>

#include "vantorhost/link/clock_offset.h"
#include "vantorhost/link/link_grid.h"

namespace vantorhost {

// The session as `print link` and the host window show it.
struct LinkView {
  bool on = false;
  std::size_t peers = 0;  // the other peers in the session
  double bpm = 0;
  double beat = 0;        // the session's beat at the time asked
};

class LinkSession final : public LinkGrid {
 public:
  LinkSession();
  // On another clock that runs with real time: a session script's, moved
  // along by the real clock.
  explicit LinkSession(ClockUs hostClockUs);
  ~LinkSession();
  LinkSession(const LinkSession&) = delete;
  LinkSession& operator=(const LinkSession&) = delete;

  // Joins the session (other peers are found on the local network) or
  // leaves it; leaving ends Link's threads.
  void enable(bool on);
  bool enabled() const override { return peer_ != nullptr; }

  // These read the session now; off: nothing (0, no beats).
  std::size_t peers() const override;
  double tempo() const override;
  std::size_t beatsFrom(std::int64_t fromUs, std::span<LinkBeat> out) const override;
  LeadStep lead(double bpm, std::int64_t beatUs, bool byHand) override;
  LinkView view(std::int64_t atUs) const;

  // A time of the host's clock on Link's clock and back.
  std::int64_t toLinkUs(std::int64_t hostUs) const;
  std::int64_t fromLinkUs(std::int64_t linkUs) const;
  void setHostClock(ClockUs hostClockUs) { hostClockUs_ = std::move(hostClockUs); }

 private:
  struct Peer;
  // Link's clock less the host's, now.
  std::int64_t linkMinusHostUs() const;

  ClockUs hostClockUs_;
  std::unique_ptr<Peer> peer_;
};

}  // namespace vantorhost
