#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "vantorhost/dmx/universe_patch.h"

namespace vantorhost {

// One live connection to olad, as the OLA output uses it. Used from one
// thread only; any call may wait on a loopback socket.
class OlaLink {
 public:
  virtual ~OlaLink() = default;
  // Sends 512 channel values to a universe; false once olad is gone.
  virtual bool send(unsigned universe, const std::uint8_t* values) = 0;
  // Handles what olad sent without waiting; false once olad closed the connection.
  virtual bool alive() = 0;
  // Waits until olad holds what was last sent to each universe, at most
  // timeoutMs: olad drops values that arrive just before the connection
  // closes, so the last values are confirmed before closing.
  virtual void settle(int timeoutMs) = 0;
  // Asks olad which universes it knows and how many outputs each has,
  // waiting at most timeoutMs; nothing when olad does not answer in time.
  virtual std::optional<UniverseOutputs> universeOutputs(int timeoutMs) = 0;
};

// An attempt to reach olad: a link, or none. `notOlad` is a log line when
// something took the connection but did not answer as olad does.
struct OlaAttempt {
  template <class Link = OlaLink>
  OlaAttempt(std::unique_ptr<Link> l = nullptr) : link(std::move(l)) {}
  std::unique_ptr<OlaLink> link;
  std::string notOlad;
};

using OlaLinkFactory = std::function<OlaAttempt()>;

// How long olad has to answer its first request before the service on its
// port is taken for something else.
inline constexpr int kOladAnswerMs = 1000;

// Connects to the olad on 127.0.0.1:port and asks it for its universes: a
// service that does not answer that within kOladAnswerMs is not olad
// (askFirst false takes whatever accepts the connection, as a benchmark's
// sink). Never starts an olad of its own: one started by a library would
// come up with every network plugin on.
OlaAttempt connectToOlad(std::uint16_t port, bool askFirst = true);

}  // namespace vantorhost
