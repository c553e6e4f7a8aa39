#pragma once
// A private olad for one test: its own config folder with every network
// plugin switched off, universe 1 on the Dummy plugin's port and universe 2
// on an OSC port that sends only to the loopback, and its own RPC port.
// olad refuses to run as root, so as root it runs as the olad user.
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
  // What olad holds for a universe now (OlaClient::FetchDMX); channels olad
  // never got read 0. Nothing when olad does not answer within a second.
  std::optional<UniverseValues> fetch(unsigned universe) const;
  // Patches (or unpatches) the first output port of a plugin's device to
  // a universe, as ola_patch does: the Dummy plugin's (kDummy, universe 1
  // at start) or OSC's (kOsc, universe 2 at start). False when olad says no.
  static constexpr int kDummy = 1, kOsc = 14;
  bool patch(int plugin, unsigned universe, bool on = true) const;

 private:
  support::TempFolder dir_;
  std::uint16_t port_ = 0, oscPort_ = 0;
  support::ChildProcess olad_;  // stopped before the folder goes
};
