#include "tests/ola/olad_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
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

bool tcpPortAnswers(std::uint16_t port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in a = loopback(port);
  const bool ok = fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  if (fd >= 0) close(fd);
  return ok;
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

}  // namespace

OladProcess::OladProcess() : port_(freePort(SOCK_STREAM)), oscPort_(freePort(SOCK_DGRAM)) {
  std::string pattern = (std::filesystem::temp_directory_path() / "sonvero-olad-XXXXXX").string();
  dir_ = mkdtemp(pattern.data());
  auto write = [this](const std::string& name, const std::string& text) { std::ofstream(dir_ / name) << text; };
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
  for (const auto& entry : std::filesystem::directory_iterator(dir_))
    if (chown(entry.path().c_str(), user->pw_uid, user->pw_gid) != 0) std::abort();
  if (chown(dir_.c_str(), user->pw_uid, user->pw_gid) != 0) std::abort();
}

OladProcess::~OladProcess() {
  stop();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

bool OladProcess::start() {
  if (running()) return true;
  const std::string port = std::to_string(port_);
  std::vector<std::string> args;
  if (getuid() == 0) args = {"setpriv", "--reuid=olad", "--regid=nogroup", "--clear-groups"};
  for (const char* a : {"olad", "--config-dir", dir_.c_str(), "--rpc-port", port.c_str(), "--no-http",
                        "--no-register-with-dns-sd", "--log-level", "0"})
    args.emplace_back(a);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    const int log = open((dir_ / "olad.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(log, 1);
    dup2(log, 2);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  if (pid_ < 0) return false;
  for (int i = 0; i < 1500; ++i) {  // up to 15 s
    if (tcpPortAnswers(port_)) return true;
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  stop();
  return false;
}

void OladProcess::terminate(int signal) {
  if (!running()) return;
  ::kill(pid_, signal);
  // setpriv execs olad, so the PID is olad's own.
  for (int i = 0; i < 300; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
  ::kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}
