#pragma once
#include <ola/DmxBuffer.h>
#include <ola/client/OlaClient.h>
#include <ola/io/SelectServer.h>
#include <ola/network/TCPSocket.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A client of olad registered for one universe: every frame olad passes on
// is stamped on the steady clock (CLOCK_MONOTONIC) as it arrives, with the
// watched channel's value. Its own thread runs the client's loop.
class DmxWatcher {
 public:
  struct Frame {
    std::int64_t arrivedNs;
    std::uint8_t value;
  };

  DmxWatcher(std::uint16_t port, unsigned universe, unsigned channel);
  ~DmxWatcher();
  DmxWatcher(const DmxWatcher&) = delete;
  DmxWatcher& operator=(const DmxWatcher&) = delete;

  // Connects and registers; false when olad does not confirm within a second.
  bool start();
  std::vector<Frame> frames();
  // When the channel rose through half its range: a beat's light arriving.
  std::vector<std::int64_t> risesNs();

 private:
  void onDmx(const ola::client::DMXMetadata& meta, const ola::DmxBuffer& data);
  void onRegistered(const ola::client::Result& result);

  std::uint16_t port_;
  unsigned universe_, channel_;
  ola::io::SelectServer ss_;
  std::unique_ptr<ola::network::TCPSocket> socket_;
  std::unique_ptr<ola::client::OlaClient> client_;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<Frame> frames_;
  int registered_ = 0;  // 0 waiting, 1 yes, -1 refused
};
