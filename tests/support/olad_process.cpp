#include "tests/support/olad_process.h"

#include <ola/Callback.h>
#include <ola/DmxBuffer.h>
#include <ola/client/OlaClient.h>
#include <ola/io/SelectServer.h>
#include <ola/network/IPV4Address.h>
#include <ola/network/SocketAddress.h>
#include <ola/network/TCPSocket.h>

#include <arpa/inet.h>
#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Every plugin of olad that could open a device or talk to the network.
constexpr const char* kSilencedPlugins[] = {
    "artnet", "e131", "espnet", "ftdidmx", "gpio", "karate", "kinet", "milinst", "opendmx", "openpixelcontrol",
    "pathport", "renard", "sandnet", "shownet", "spi", "stageprofi", "uartdmx", "usbdmx", "usbserial"};

sockaddr_in loopback(std::uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

// A port that nothing listens on right now.
std::uint16_t freePort(int type) {
  const int fd = socket(AF_INET, type, 0);
  sockaddr_in a = loopback(0);
  socklen_t size = sizeof a;
  bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
  close(fd);
  return ntohs(a.sin_port);
}

// One answer of olad's, handed to `take` as it comes.
template <class... Args>
struct Answer {
  std::function<void(Args...)> take;
  bool done = false;
  void received(Args... args) {
    done = true;
    take(args...);
  }
};

// A client on a fresh connection to olad, answering while await() waits.
class Client {
 public:
  explicit Client(std::uint16_t port)
      : socket_(ola::network::TCPSocket::Connect(
            ola::network::IPV4SocketAddress(ola::network::IPV4Address::Loopback(), port))) {
    if (!socket_) return;
    client_ = std::make_unique<ola::client::OlaClient>(socket_.get());
    if (!client_->Setup()) client_.reset();
    else ss_.AddReadDescriptor(socket_.get());
  }
  ~Client() {
    if (!client_) return;
    ss_.RemoveReadDescriptor(socket_.get());
    client_->Stop();
  }
  ola::client::OlaClient* operator->() { return client_.get(); }
  explicit operator bool() const { return client_ != nullptr; }
  // Handles olad's answers until `answer` has come, at most a second.
  template <class Answer>
  bool await(const Answer& answer) {
    for (int i = 0; i < 100 && !answer.done; ++i) ss_.RunOnce(ola::TimeInterval(0, 10000));
    return answer.done;
  }

 private:
  ola::io::SelectServer ss_;
  std::unique_ptr<ola::network::TCPSocket> socket_;
  std::unique_ptr<ola::client::OlaClient> client_;
};

}  // namespace

OladProcess::OladProcess() : port_(freePort(SOCK_STREAM)), oscPort_(freePort(SOCK_DGRAM)) {
  const std::filesystem::path& dir = dir_.path();
  auto write = [&](const std::string& name, const std::string& text) { std::ofstream(dir / name) << text; };
  for (const char* plugin : kSilencedPlugins) write("ola-" + std::string(plugin) + ".conf", "enabled = false\n");
  write("ola-dummy.conf", "enabled = true\n");
  // OSC's only target is its own listening port on the loopback.
  const std::string osc = std::to_string(oscPort_);
  write("ola-osc.conf", "enabled = true\ninput_ports = 0\noutput_ports = 1\nport_0_output_format = blob\n"
                        "port_0_targets = 127.0.0.1:" + osc + "/dmx/universe/%d\nudp_listen_port = " + osc + "\n");
  // Dummy is plugin 1, OSC plugin 14; each has one device.
  write("ola-port.conf", "1-1-O-0 = 1\n14-1-O-0 = 2\n");
  const passwd* user = getuid() == 0 ? getpwnam("olad") : nullptr;
  if (!user) return;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (chown(entry.path().c_str(), user->pw_uid, user->pw_gid) != 0) std::abort();
  if (chown(dir.c_str(), user->pw_uid, user->pw_gid) != 0) std::abort();
}

bool OladProcess::start() {
  if (olad_.running()) return true;
  std::vector<std::string> args;
  if (getuid() == 0) args = {"setpriv", "--reuid=olad", "--regid=nogroup", "--clear-groups"};  // execs olad: same PID
  const std::string log = (dir_.path() / "olad.log").string();
  args.insert(args.end(), {"olad", "--config-dir", dir_.path().string(), "--rpc-port", std::to_string(port_),
                           "--no-http", "--no-register-with-dns-sd", "--log-level", "0"});
  return olad_.start(args, log, log) &&
         olad_.waitUntil([this] { return static_cast<bool>(Client(port_)); }, std::chrono::seconds(15));
}

bool OladProcess::patch(int plugin, unsigned universe, bool on) const {
  using namespace ola::client;
  Client client(port_);
  if (!client) return false;
  std::optional<unsigned> alias;  // of the plugin's first device
  Answer<const Result&, const std::vector<OlaDevice>&> devices{[&](const Result& r, const std::vector<OlaDevice>& d) {
    if (r.Success() && !d.empty()) alias = d.front().Alias();
  }};
  client->FetchDeviceInfo(static_cast<ola::ola_plugin_id>(plugin),
                          ola::NewSingleCallback(&devices, &decltype(devices)::received));
  if (!client.await(devices) || !alias) return false;
  bool ok = false;
  Answer<const Result&> patched{[&](const Result& r) { ok = r.Success(); }};
  client->Patch(*alias, 0, OUTPUT_PORT, on ? PATCH : UNPATCH, universe,
                ola::NewSingleCallback(&patched, &decltype(patched)::received));
  return client.await(patched) && ok;
}

std::optional<UniverseValues> OladProcess::fetch(unsigned universe) const {
  using namespace ola::client;
  Client client(port_);
  if (!client) return std::nullopt;
  std::optional<UniverseValues> values;
  Answer<const Result&, const DMXMetadata&, const ola::DmxBuffer&> fetched{
      [&](const Result& r, const DMXMetadata&, const ola::DmxBuffer& data) {
        if (!r.Success()) return;
        UniverseValues v{};
        unsigned length = v.size();
        data.Get(v.data(), &length);
        values = v;
      }};
  client->FetchDMX(universe, ola::NewSingleCallback(&fetched, &decltype(fetched)::received));
  client.await(fetched);
  return values;
}
