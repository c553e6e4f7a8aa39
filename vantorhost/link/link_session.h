#pragma once
// Sonvero as a peer of an Ableton Link session: the session's tempo and
// beat grid, shared with DJ software and other Sonvero machines on the
// network. Link's headers (and asio under them) stay inside this room: the
// rest of the host sees only this class. Off, it holds nothing, no Link
// object, no thread, no socket; on, Link runs its own threads.
//
// Times are microseconds on the steady clock, the bridge's clock of a live
// run; Link's own clock is converted at each call (link/clock_offset.h).
// A beat's time says when it is heard, as the tracker's predictions do.
#include <cstdint>
#include <memory>

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
  LeadStep lead(double bpm, std::int64_t beatUs) override;
  LinkView view(std::int64_t atUs) const;

  // A steady-clock time on Link's clock and back.
  static std::int64_t toLinkUs(std::int64_t steadyUs);
  static std::int64_t fromLinkUs(std::int64_t linkUs);

 private:
  struct Peer;
  std::unique_ptr<Peer> peer_;
};

}  // namespace vantorhost
