// Cost of the OLA output stage per tick at its worst: all 1024 channels
// change every tick. Measured in two halves, each with the 1024 stores into
// the channel buffer (timed alone as the baseline): what the event loop pays
// (OlaOutput::service hands the values to the sender thread) and what the
// sender pays to put both universes on the wire to olad (a StreamingClient
// writing to a local socket that reads and discards, so olad's own work is
// not counted).
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "vantorhost/dmx/ola_link.h"
#include "vantorhost/dmx/ola_output.h"

using namespace vantorhost;

namespace {

// A link that takes the values and drops them, so only the hand-over counts.
class DiscardingLink final : public OlaLink {
 public:
  bool send(unsigned, const std::uint8_t*) override { return true; }
  bool alive() override { return true; }
  void settle(int) override {}
  std::optional<UniverseOutputs> universeOutputs(int) override { return UniverseOutputs{{1, 1}, {2, 1}}; }
};

void changeAll(ChannelBuffer& channels, int tick) {
  for (int c = 1; c <= ChannelBuffer::kChannels; ++c) channels.set(c, (c + tick) % 256, tick);
}

// The baseline: the 1024 stores into the channel buffer alone.
void BM_ChangeAllChannels(benchmark::State& state) {
  ChannelBuffer channels;
  int tick = 0;
  for (auto _ : state) changeAll(channels, ++tick);
}
BENCHMARK(BM_ChangeAllChannels);

void BM_ChangeAllAndService(benchmark::State& state) {
  OlaOutput out(1, [] { return std::make_unique<DiscardingLink>(); });
  ChannelBuffer channels;
  int tick = 0;
  for (auto _ : state) {
    changeAll(channels, ++tick);
    out.service(channels);
  }
}
BENCHMARK(BM_ChangeAllAndService);

// Accepts connections on a loopback port and reads everything sent to it.
class DiscardingServer {
 public:
  DiscardingServer() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(listener_, 4);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &size);
    port_ = ntohs(a.sin_port);
    acceptor_ = std::thread([this] {
      for (;;) {
        const int fd = accept(listener_, nullptr, nullptr);
        if (fd < 0) return;
        readers_.emplace_back([fd] {
          char buffer[65536];
          while (read(fd, buffer, sizeof buffer) > 0) {
          }
          close(fd);
        });
      }
    });
  }
  ~DiscardingServer() {
    shutdown(listener_, SHUT_RDWR);
    close(listener_);
    acceptor_.join();
    for (auto& r : readers_) r.join();
  }
  std::uint16_t port() const { return port_; }

 private:
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::thread acceptor_;
  std::vector<std::thread> readers_;
};

void BM_ChangeAllAndSendBothUniverses(benchmark::State& state) {
  DiscardingServer server;
  ChannelBuffer channels;
  int tick = 0;
  {
    auto link = connectToOlad(server.port(), false).link;
    if (!link) {
      state.SkipWithError("no link");
      return;
    }
    for (auto _ : state) {
      changeAll(channels, ++tick);
      link->send(1, channels.universe(0));
      link->send(2, channels.universe(1));
    }
  }
}
BENCHMARK(BM_ChangeAllAndSendBothUniverses);

}  // namespace
