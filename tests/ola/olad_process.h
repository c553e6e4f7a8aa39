#pragma once
#include <signal.h>
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
  void stop() { terminate(SIGTERM); }  // by its PID, SIGKILL if it lingers
  void kill() { terminate(SIGKILL); }  // as a crash would
  bool running() const { return pid_ > 0; }
  std::uint16_t port() const { return port_; }

 private:
  void terminate(int signal);

  std::filesystem::path dir_;
  std::uint16_t port_ = 0, oscPort_ = 0;
  pid_t pid_ = -1;
};

