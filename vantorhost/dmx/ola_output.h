#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/dmx/ola_link.h"

namespace vantorhost {

// Channels 1..512 to OLA universe U, 513..1024 to U + 1. The talking to olad
// happens on a thread of its own, so a slow, dead or restarting olad never
// holds up the event loop: service() only hands over the values that moved
// and logs what the sender reported. The sender keeps the frame rate and
// the refresh, retries a missing olad (or a service on its port that is not
// olad) with a fresh client and sends both universes again as soon as it is
// back. Which universes have an output patched is asked again every few
// seconds, so patching one in olad clears the warning. One made to look
// quietly (--dmx auto, when no olad answered at start) says nothing while
// olad stays away and takes it as soon as it answers. When the output is
// destroyed the last values go out once more, so olad keeps them after the
// program ends.
class OlaOutput final : public DmxOutput {
 public:
  static constexpr const char* kConnecting = "DMX: OLA connecting";
  static constexpr const char* kUnreachable = "DMX: OLA not reachable, retrying";
  static constexpr const char* kNotOlad = "DMX: the service on olad's port is not an olad, retrying";
  static constexpr const char* kLooking = "DMX: looking for olad";
  // How often olad is asked which universes have an output patched.
  static constexpr std::int64_t kPatchCheckMs = 2000;

  OlaOutput(unsigned firstUniverse, OlaLinkFactory connect, bool lookQuietly = false);
  ~OlaOutput() override;
  OlaOutput(const OlaOutput&) = delete;
  OlaOutput& operator=(const OlaOutput&) = delete;

  void service(const ChannelBuffer& channels) override;
  void hurry() override;
  // The hand-over to the sender thread and olad's RPC on this machine.
  std::int64_t latencyUs() const override { return kLatencyUs; }
  static constexpr std::int64_t kLatencyUs = 2000;
  // The state as of the last service(), so that the window and the log
  // change together.
  std::string status() const override;
  DmxFacts facts() const override;

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  std::thread sender_;
  std::array<std::uint64_t, 2> seenRevision_{};
  bool seenAny_ = false;
  std::string status_;
  DmxFacts facts_;
};

}  // namespace vantorhost
