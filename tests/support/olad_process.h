#pragma once
// A private olad for one test: no network plugin, universe 1 on the Dummy
// plugin, universe 2 on OSC to the loopback; as root it runs as user olad.
#include <array>
#include <cstdint>
#include <optional>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

using UniverseValues = std::array<std::uint8_t, 512>;

class OladProcess {
 public:
  OladProcess();

  // Starts olad and waits until its RPC port answers; false if it never does.
  bool start();
  void kill() { olad_.stop(SIGKILL); }  // as a crash would
  std::uint16_t port() const { return port_; }
  // What olad holds for a universe now; nothing when it does not answer within a second.
  std::optional<UniverseValues> fetch(unsigned universe) const;
  // Patches (or unpatches) a plugin's first output port to a universe, as ola_patch does.
  static constexpr int kDummy = 1, kOsc = 14;
  bool patch(int plugin, unsigned universe, bool on = true) const;

 private:
  support::TempFolder dir_;
  std::uint16_t port_ = 0, oscPort_ = 0;
  support::ChildProcess olad_;  // stopped before the folder goes
};
