#include "tests/support/link_network.h"

#include <ableton/Link.hpp>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

using namespace std::chrono;

// A network namespace with only the loopback, which comes down: up it goes.
bool privateNetwork() {
  if (::unshare(CLONE_NEWNET) != 0) return false;
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return false;
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  bool up = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
  request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
  up = up && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
  ::close(fd);
  return up;
}

// Two peers of this process: do they meet within a few seconds?
bool peersMeet() {
  ableton::Link one(120), other(120);
  one.enable(true);
  other.enable(true);
  const auto giveUp = steady_clock::now() + seconds(4);
  while (one.numPeers() == 0 || other.numPeers() == 0) {
    if (steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(milliseconds(20));
  }
  return true;
}

struct Network {
  bool isPrivate = false;
  std::optional<std::string> unavailable;
};

const Network& network() {
  static const Network found = [] {
    Network net;
    const bool root = ::geteuid() == 0;
    net.isPrivate = root && privateNetwork();
    if (!peersMeet())
      net.unavailable = std::string("two Link peers on this machine did not find each other within 4 s on ") +
                        (net.isPrivate ? "a private network namespace's loopback"
                         : root        ? "this machine's network (no multicast between its own processes; "
                                         "no private network namespace could be made)"
                                       : "this machine's network (no multicast between its own processes; "
                                         "not root, so no private network namespace to try)");
    return net;
  }();
  return found;
}

}  // namespace

std::optional<std::string> linkPeersUnavailable() { return network().unavailable; }

std::string linkNetworkName() {
  return network().isPrivate ? "a private network namespace (loopback)" : "this machine's network";
}
