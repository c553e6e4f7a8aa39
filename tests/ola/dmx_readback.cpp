#include "tests/ola/dmx_readback.h"

#include <ola/Callback.h>
#include <ola/DmxBuffer.h>
#include <ola/client/OlaClient.h>
#include <ola/io/SelectServer.h>
#include <ola/network/IPV4Address.h>
#include <ola/network/SocketAddress.h>
#include <ola/network/TCPSocket.h>

#include <memory>

namespace {

struct Fetch {
  bool done = false;
  std::optional<UniverseValues> values;

  void received(const ola::client::Result& result, const ola::client::DMXMetadata&, const ola::DmxBuffer& data) {
    done = true;
    if (!result.Success()) return;
    UniverseValues v{};
    unsigned length = v.size();
    data.Get(v.data(), &length);
    values = v;
  }
};

}  // namespace

std::optional<UniverseValues> fetchDmx(std::uint16_t port, unsigned universe) {
  std::unique_ptr<ola::network::TCPSocket> socket(ola::network::TCPSocket::Connect(
      ola::network::IPV4SocketAddress(ola::network::IPV4Address::Loopback(), port)));
  if (!socket) return std::nullopt;
  ola::io::SelectServer ss;
  ola::client::OlaClient client(socket.get());
  if (!client.Setup()) return std::nullopt;
  ss.AddReadDescriptor(socket.get());
  Fetch fetch;
  client.FetchDMX(universe, ola::NewSingleCallback(&fetch, &Fetch::received));
  for (int i = 0; i < 100 && !fetch.done; ++i) ss.RunOnce(ola::TimeInterval(0, 10000));
  ss.RemoveReadDescriptor(socket.get());
  client.Stop();
  return fetch.values;
}

