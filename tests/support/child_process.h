#pragma once
// A program a test starts itself, waits on until it answers, and stops by
// its process id.
#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

namespace support {

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() { stop(SIGKILL); }

  // Starts argv[0] (looked up in PATH) with standard output and standard
  // error written to these files (the same file: both in one). A program
  // still running from an earlier start is stopped first.
  bool start(const std::vector<std::string>& argv, const std::string& out = "/dev/null",
             const std::string& err = "/dev/null");
  // Asks `ready` every 10 ms; false when the program ends or `limit` passes first.
  bool waitUntil(const std::function<bool()>& ready, std::chrono::milliseconds limit);
  // Whether it has not ended yet.
  bool running();
  // Its process id while it runs (-1 before the start and after the end).
  pid_t pid() const { return pid_; }
  // Waits for the end (SIGKILL after `limit`) and gives the exit code, or
  // 128 + the signal that ended it.
  int wait(std::chrono::milliseconds limit = std::chrono::seconds(60)) { return signalAndWait(0, limit); }
  // Sends `signal` and waits for the end, SIGKILL when it lingers.
  int stop(int signal = SIGTERM) { return signalAndWait(signal, std::chrono::seconds(3)); }

 private:
  int signalAndWait(int signal, std::chrono::milliseconds limit);
  pid_t pid_ = -1;
  int status_ = 0;
};

}  // namespace support
