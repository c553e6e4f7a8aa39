// A service on olad's port that is not olad: named once, retried quietly,
// never taken for a connection, and a banner costs next to no processor time.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/ola/output_helpers.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"
#include "vantorhost/dmx/ola_output.h"

using namespace vantorhost;

namespace {

using namespace std::chrono_literals;

enum class Peer { Silent, ClosesAtOnce, Garbage, Banner };

// A TCP service on a free loopback port, as `Peer` says.
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
        if (peer == Peer::Banner) (void)!::write(fd, "SSH-2.0-x\r\n", 11);
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
  return std::array{"Silent", "ClosesAtOnce", "Garbage", "Banner"}[static_cast<std::size_t>(param.param)];
}

INSTANTIATE_TEST_SUITE_P(OlaLink, NotOlad, testing::Values(Peer::Silent, Peer::ClosesAtOnce, Peer::Garbage, Peer::Banner),
                         peerName);

// Processor time (user and system) the process has used, in clock ticks.
long cpuTicks(pid_t pid) {
  const std::string text = support::readBytes("/proc/" + std::to_string(pid) + "/stat");
  // The fields after the command's name, which may hold blanks, in parentheses.
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int n = 3; fields >> field; ++n) {
    if (n == 14) utime = std::stol(field);
    if (n == 15) { stime = std::stol(field); break; }
  }
  return utime + stime;
}

// libola retries the frame a banner seems to announce as long as the
// connection stays: the link must go at once and the next attempt wait.
TEST(OlaLink, ABannerOnOladsPortCostsNextToNoProcessorTime) {
  FakeService service(Peer::Banner);
  support::TempFolder dir;
  const std::string log = (dir.path() / "log").string();
  support::ChildProcess sonvero;
  ASSERT_TRUE(sonvero.start({SONVERO_BINARY, "--headless", "--dmx", "ola", "--ola-port", std::to_string(service.port()),
                             "--audio", "silence", "--settings-dir", dir.path().string()},
                            "/dev/null", log));
  ASSERT_TRUE(sonvero.waitUntil([&] { return support::readBytes(log).find("not an olad") != std::string::npos; }, 10s))
      << support::readBytes(log);
  const long before = cpuTicks(sonvero.pid());
  const auto t0 = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(4s);
  const long used = cpuTicks(sonvero.pid()) - before;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const double share = static_cast<double>(used) / static_cast<double>(::sysconf(_SC_CLK_TCK)) / seconds;
  EXPECT_LT(share, 0.01) << used << " clock ticks in " << seconds << " s";
  EXPECT_EQ(sonvero.stop(SIGINT), 0);
  EXPECT_EQ(countOf(support::readBytes(log), "not an olad"), 1u) << support::readBytes(log);
}

}  // namespace
