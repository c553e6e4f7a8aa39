#pragma once
#include <sys/types.h>

#include <cstdint>
#include <filesystem>

// A private olad for one test: its own config folder with every network
// plugin switched off, universe 1 on the Dummy plugin's port and universe 2
// on an OSC port that sends only to the loopback, and its own RPC port.
// olad refuses to run as root, so as root it runs as the olad user.
class OladProcess {
 public:
  OladProcess();
  ~OladProcess();
  OladProcess(const OladProcess&) = delete;
  OladProcess& operator=(const OladProcess&) = delete;

  // Starts olad and waits until its RPC port answers; false if it never does.
  bool start();
  // Stops olad by its PID (SIGTERM, then SIGKILL) and reaps it.
  void stop();
  // Kills olad at once, as a crash would.
  void kill();
  bool running() const { return pid_ > 0; }
  std::uint16_t port() const { return port_; }

 private:
  void writeConfig() const;
  void terminate(int signal);

  std::filesystem::path dir_;
  std::uint16_t port_ = 0;
  std::uint16_t oscPort_ = 0;
  pid_t pid_ = -1;
};

// True when something accepts TCP connections on 127.0.0.1:port.
bool tcpPortAnswers(std::uint16_t port);
// A port that nothing listens on right now (TCP, or UDP when udp is true).
std::uint16_t freePort(bool udp = false);
