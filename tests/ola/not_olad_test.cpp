// A service on olad's port that is not olad: one that never answers, one
// that closes at once, one that answers with a frame OLA cannot parse.
// Each is named as not an olad once, retried quietly, never taken for a
// connection, and leaves nothing behind (the sanitizer pass checks leaks).
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <thread>
#include <vector>

#include "tests/ola/output_helpers.h"
#include "vantorhost/dmx/ola_output.h"

using namespace vantorhost;

namespace {

using namespace std::chrono_literals;

enum class Peer { Silent, ClosesAtOnce, Garbage };

// A TCP service on a free loopback port, behaving as `peer` to everyone
// who connects, until it goes.
class FakeService {
 public:
  explicit FakeService(Peer peer) : listener_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(listener_, 16);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, peer] {
      // A header of the right version announcing 8 bytes that are no message.
      static const char kBadFrame[] = "\x08\x00\x00\x10\xff\xff\xff\xff\xff\xff\xff\xff";
      for (int fd; (fd = ::accept(listener_, nullptr, nullptr)) >= 0;) {
        if (peer == Peer::Garbage) (void)!::write(fd, kBadFrame, sizeof kBadFrame - 1);
        if (peer == Peer::ClosesAtOnce) ::close(fd);
        else open_.push_back(fd);
      }
    });
  }
  ~FakeService() {
    ::shutdown(listener_, SHUT_RDWR);  // ends the accept
    thread_.join();
    for (int fd : open_) ::close(fd);
    ::close(listener_);
  }
  std::uint16_t port() const { return port_; }

 private:
  int listener_;
  std::uint16_t port_ = 0;
  std::vector<int> open_;
  std::thread thread_;
};

class NotOlad : public testing::TestWithParam<Peer> {};

TEST_P(NotOlad, IsNamedOnceRetriedQuietlyAndNeverTakenForAConnection) {
  FakeService service(GetParam());
  const std::uint16_t port = service.port();
  const auto t0 = std::chrono::steady_clock::now();
  const OlaAttempt attempt = connectToOlad(port);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 1500ms);
  EXPECT_FALSE(attempt.link);
  EXPECT_NE(attempt.notOlad.find("not an olad"), std::string::npos) << attempt.notOlad;

  ChannelBuffer channels;
  testing::internal::CaptureStderr();
  {
    OlaOutput out(1, [port] { return connectToOlad(port); });
    serviceUntil(out, channels, [] { return false; }, 1500ms, 20ms);
  }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(countOf(log, "not an olad"), 1u) << log;
  EXPECT_EQ(countOf(log, "connected"), 0u) << log;
}

std::string peerName(const testing::TestParamInfo<Peer>& param) {
  return std::array{"Silent", "ClosesAtOnce", "Garbage"}[static_cast<std::size_t>(param.param)];
}

INSTANTIATE_TEST_SUITE_P(OlaLink, NotOlad, testing::Values(Peer::Silent, Peer::ClosesAtOnce, Peer::Garbage), peerName);

}  // namespace
