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


#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <vector>

#include "vantorhost/base/channel_buffer.h"

namespace vantorhost {

namespace {

// olad's RPC frames: a little-endian header word, the protocol's version in
// its top four bits and the length of the message after it in the rest.
constexpr std::uint32_t kRpcVersion = 1;
// Far above any answer olad gives to what the host asks.
constexpr std::uint32_t kLongestFrame = 1u << 20;

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
    if (!closed_ && !wrongPeer_) ss_.RunOnce(ola::TimeInterval(0, 0));
    return !closed_ && !wrongPeer_;
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
      if (closed_ || wrongPeer_) return false;
      const auto left =
          std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) return false;
      if (!firstFrameSeen_) {
        if (const FirstFrame seen = lookAtFirstFrame(static_cast<int>(left / 1000)); seen == FirstFrame::Wrong) {
          // libola would try to read the frame its header announces, again
          // and again: the connection is given up now.
          wrongPeer_ = true;
          return false;
        } else if (seen == FirstFrame::NotYet) {
          continue;
        }
        firstFrameSeen_ = true;
      }
      ss_.RunOnce(ola::TimeInterval(static_cast<std::int32_t>(left / 1000000), static_cast<std::int32_t>(left % 1000000)));
    }
    return true;
  }

  enum class FirstFrame { NotYet, Right, Wrong };

  // The first bytes the service sends, looked at before libola reads them:
  // olad's answers start with a frame header of its protocol's version and
  // a modest length. Anything else (a banner, a greeting of another
  // protocol) is not olad. Waits at most waitMs for the header to arrive.
  FirstFrame lookAtFirstFrame(int waitMs) {
    const int fd = socket_->ReadDescriptor();
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, std::max(waitMs, 0)) <= 0) return FirstFrame::NotYet;
    std::uint8_t header[4];
    const ssize_t got = ::recv(fd, header, sizeof header, MSG_PEEK | MSG_DONTWAIT);
    // Closed or failed: libola sees that for itself.
    if (got <= 0) return FirstFrame::Right;
    if (got < static_cast<ssize_t>(sizeof header)) {
      // The rest of a header that comes in pieces is a moment away.
      ::poll(nullptr, 0, 5);
      return FirstFrame::NotYet;
    }
    const std::uint32_t word = header[0] | header[1] << 8 | header[2] << 16 | static_cast<std::uint32_t>(header[3]) << 24;
    const bool right = word >> 28 == kRpcVersion && (word & 0x0fffffff) <= kLongestFrame;
    return right ? FirstFrame::Right : FirstFrame::Wrong;
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
  bool firstFrameSeen_ = false;
  bool wrongPeer_ = false;  // it sent what olad never sends
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
                        " is not an olad (it does not answer an OLA request as olad does); retrying";
      break;
    case OladLink::Opened::Unreachable:
      break;
  }
  return attempt;
}

}  // namespace vantorhost

// The entry the host looks up when it loads this library (ola_support.h).
extern "C" vantorhost::OlaConnect sonvero_ola_connect() { return &vantorhost::connectToOlad; }
