#include "vantorhost/dmx/ola_link.h"
#include "vantorhost/dmx/ola_support.h"

#include <ola/Callback.h>
#include <ola/DmxBuffer.h>
#include <ola/Logging.h>
#include <ola/client/OlaClient.h>
#include <ola/client/StreamingClient.h>
#include <ola/io/SelectServer.h>
#include <ola/network/IPV4Address.h>
#include <ola/network/SocketAddress.h>
#include <ola/network/TCPSocket.h>


#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <vector>

#include "vantorhost/base/channel_buffer.h"

namespace vantorhost {

namespace {

// OLA's own warnings (a refused connection on every retry) would flood the
// host's log; the output reports state changes itself.
void silenceOlaLog() {
  static std::once_flag once;
  std::call_once(once, [] { ola::InitLogging(ola::OLA_LOG_NONE, ola::OLA_LOG_NULL); });
}

// DMX values through a StreamingClient, plus a callback client on its own
// socket that asks for the universe list and sees olad close at once, even
// while no values are being sent.
class OladLink final : public OlaLink {
 public:
  explicit OladLink(std::uint16_t port) : streaming_(streamingOptions(port)) {}

  ~OladLink() override {
    if (client_ && !closed_) {
      // The client forgets a close handler that never ran without deleting
      // it (a peer that sent no valid frame, or is still connected): it is
      // taken back and deleted here.
      client_->SetCloseHandler(nullptr);
      delete closeHandler_;
      ss_.RemoveReadDescriptor(socket_.get());
    }
    if (client_) client_->Stop();
    if (socket_) socket_->Close();
    streaming_.Stop();
  }

  enum class Opened { Yes, Unreachable, NotOlad };

  // The request client first: only once olad has answered it does the
  // streaming client connect too.
  Opened open(std::uint16_t port, bool askFirst) {
    socket_.reset(ola::network::TCPSocket::Connect(
        ola::network::IPV4SocketAddress(ola::network::IPV4Address::Loopback(), port)));
    if (!socket_) return Opened::Unreachable;
    socket_->SetNoDelay();
    client_ = std::make_unique<ola::client::OlaClient>(socket_.get());
    if (!client_->Setup()) return Opened::Unreachable;
    closeHandler_ = ola::NewSingleCallback(this, &OladLink::onClosed);
    client_->SetCloseHandler(closeHandler_);
    ss_.AddReadDescriptor(socket_.get());
    if (askFirst && !universeOutputs(kOladAnswerMs)) return Opened::NotOlad;
    return streaming_.Setup() ? Opened::Yes : Opened::Unreachable;
  }

  bool send(unsigned universe, const std::uint8_t* values) override {
    ola::DmxBuffer& buffer = lastSent_[universe];
    buffer.Set(values, ChannelBuffer::kUniverseSize);
    return streaming_.SendDmx(universe, buffer);
  }

  void settle(int timeoutMs) override {
    const auto deadline = deadlineIn(timeoutMs);
    for (const auto& [universe, values] : lastSent_) {
      while (!closed_) {
        fetched_.reset();
        client_->FetchDMX(universe, ola::NewSingleCallback(this, &OladLink::onDmx));
        if (!runUntil(deadline, [&] { return fetched_.has_value(); })) return;
        // An empty answer: olad keeps nothing for a universe without outputs.
        if (*fetched_ == values || fetched_->Size() == 0) break;
        // Another source merged in: ask again a little later.
        runUntil(std::min(deadline, deadlineIn(5)), [] { return false; });
      }
    }
  }

  bool alive() override {
    if (!closed_) ss_.RunOnce(ola::TimeInterval(0, 0));
    return !closed_;
  }

  std::optional<UniverseOutputs> universeOutputs(int timeoutMs) override {
    answer_.reset();
    answered_ = false;
    client_->FetchUniverseList(ola::NewSingleCallback(this, &OladLink::onUniverses));
    runUntil(deadlineIn(timeoutMs), [&] { return answered_; });
    return answer_;
  }

 private:
  static ola::client::StreamingClient::Options streamingOptions(std::uint16_t port) {
    ola::client::StreamingClient::Options options;
    options.auto_start = false;
    options.server_port = port;
    return options;
  }

  static std::chrono::steady_clock::time_point deadlineIn(int ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  }

  // Handles olad's answers until done() or the deadline; false when olad
  // closed the connection or the time ran out first.
  template <class Done>
  bool runUntil(std::chrono::steady_clock::time_point deadline, Done done) {
    while (!done()) {
      if (closed_) return false;
      const auto left =
          std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) return false;
      ss_.RunOnce(ola::TimeInterval(static_cast<std::int32_t>(left / 1000000), static_cast<std::int32_t>(left % 1000000)));
    }
    return true;
  }

  void onClosed() { closed_ = true; }

  void onDmx(const ola::client::Result& result, const ola::client::DMXMetadata&, const ola::DmxBuffer& data) {
    fetched_ = result.Success() ? data : ola::DmxBuffer();
  }

  void onUniverses(const ola::client::Result& result, const std::vector<ola::client::OlaUniverse>& universes) {
    answered_ = true;
    if (!result.Success()) return;
    UniverseOutputs outputs;
    for (const auto& u : universes) outputs[u.Id()] = u.OutputPortCount();
    answer_ = std::move(outputs);
  }

  ola::client::StreamingClient streaming_;
  std::map<unsigned, ola::DmxBuffer> lastSent_;
  std::optional<ola::DmxBuffer> fetched_;
  ola::io::SelectServer ss_;
  std::unique_ptr<ola::network::TCPSocket> socket_;
  std::unique_ptr<ola::client::OlaClient> client_;
  // Deletes itself when it runs (closed_), else the destructor deletes it.
  ola::SingleUseCallback0<void>* closeHandler_ = nullptr;
  bool closed_ = false;
  bool answered_ = false;
  std::optional<UniverseOutputs> answer_;
};

}  // namespace

OlaAttempt connectToOlad(std::uint16_t port, bool askFirst) {
  silenceOlaLog();
  auto link = std::make_unique<OladLink>(port);
  OlaAttempt attempt;
  switch (link->open(port, askFirst)) {
    case OladLink::Opened::Yes:
      attempt.link = std::move(link);
      break;
    case OladLink::Opened::NotOlad:
      attempt.notOlad = "DMX: the service on port " + std::to_string(port) +
                        " is not an olad (no answer to an OLA request within a second); retrying";
      break;
    case OladLink::Opened::Unreachable:
      break;
  }
  return attempt;
}

}  // namespace vantorhost

// The entry the host looks up when it loads this library (ola_support.h).
extern "C" vantorhost::OlaConnect sonvero_ola_connect() { return &vantorhost::connectToOlad; }
