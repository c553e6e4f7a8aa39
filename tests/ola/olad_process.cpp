#include "tests/ola/olad_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
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
    "artnet", "e131",    "espnet",   "ftdidmx",    "gpio",      "karate", "kinet",
    "milinst", "opendmx", "openpixelcontrol", "pathport", "renard", "sandnet", "shownet",
    "spi",    "stageprofi", "uartdmx", "usbdmx",   "usbserial"};

void writeFile(const std::filesystem::path& path, const std::string& text) { std::ofstream(path) << text; }

sockaddr_in loopback(std::uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

}  // namespace

bool tcpPortAnswers(std::uint16_t port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const sockaddr_in a = loopback(port);
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  close(fd);
  return ok;
}

std::uint16_t freePort(bool udp) {
  const int fd = socket(AF_INET, udp ? SOCK_DGRAM : SOCK_STREAM, 0);
  sockaddr_in a = loopback(0);
  socklen_t size = sizeof a;
  bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
  close(fd);
  return ntohs(a.sin_port);
}

OladProcess::OladProcess() : port_(freePort()), oscPort_(freePort(true)) {
  std::string pattern = (std::filesystem::temp_directory_path() / "sonvero-olad-XXXXXX").string();
  dir_ = mkdtemp(pattern.data());
  writeConfig();
}

OladProcess::~OladProcess() {
  stop();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void OladProcess::writeConfig() const {
  for (const char* plugin : kSilencedPlugins) writeFile(dir_ / ("ola-" + std::string(plugin) + ".conf"), "enabled = false\n");
  writeFile(dir_ / "ola-dummy.conf", "enabled = true\n");
  // OSC's only target is its own listening port on the loopback.
  const std::string osc = std::to_string(oscPort_);
  writeFile(dir_ / "ola-osc.conf", "enabled = true\ninput_ports = 0\noutput_ports = 1\nport_0_output_format = blob\n"
                                   "port_0_targets = 127.0.0.1:" + osc + "/dmx/universe/%d\nudp_listen_port = " + osc + "\n");
  // Dummy is plugin 1, OSC plugin 14; each has one device.
  writeFile(dir_ / "ola-port.conf", "1-1-O-0 = 1\n14-1-O-0 = 2\n");
  if (getuid() == 0) {
    if (const passwd* olad = getpwnam("olad")) {
      for (const auto& entry : std::filesystem::directory_iterator(dir_))
        if (chown(entry.path().c_str(), olad->pw_uid, olad->pw_gid) != 0) std::abort();
      if (chown(dir_.c_str(), olad->pw_uid, olad->pw_gid) != 0) std::abort();
    }
  }
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
    if (log >= 0) {
      dup2(log, 1);
      dup2(log, 2);
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  if (pid_ < 0) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (std::chrono::steady_clock::now() < deadline) {
    if (tcpPortAnswers(port_)) return true;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
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
  for (int i = 0; i < 300; ++i) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

void OladProcess::stop() { terminate(SIGTERM); }
void OladProcess::kill() { terminate(SIGKILL); }
