#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

// A program the test starts and stops by its process id. Standard output
// and error go to the files given ("" keeps the test's own).
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const std::vector<std::string>& argv, const std::string& out = "/dev/null",
               const std::string& err = "/dev/null");
  ~ChildProcess() { stop(); }
  ChildProcess(ChildProcess&& other) noexcept : pid_(other.pid_) { other.pid_ = -1; }
  ChildProcess& operator=(ChildProcess&& other) noexcept;

  bool running() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  // Sends `signal` and waits for the process to end; returns its wait status.
  int stop(int signal = 15);
  // Waits for the process to end by itself; returns its wait status.
  int wait();

 private:
  pid_t pid_ = -1;
};
