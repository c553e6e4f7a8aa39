#include "tests/support/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace support {

bool ChildProcess::start(const std::vector<std::string>& argv, const std::string& out, const std::string& err) {
  stop(SIGKILL);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (err == out) posix_spawn_file_actions_adddup2(&files, 1, 2);
  else posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // Nothing else the test holds open reaches the child: were it to outlive
  // a test that died, a pipe of ctest's (gtest keeps one while it captures
  // standard error) would keep ctest waiting for the test's end.
  posix_spawn_file_actions_addclosefrom_np(&files, 3);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  if (posix_spawnp(&pid_, args[0], &files, nullptr, args.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&files);
  return pid_ > 0;
}

bool ChildProcess::running() {
  if (pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == pid_) pid_ = -1;
  return pid_ > 0;
}

bool ChildProcess::waitUntil(const std::function<bool()>& ready, std::chrono::milliseconds limit) {
  for (const auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(std::chrono::milliseconds(10)))
    if (ready()) return true;
    else if (!running()) return false;
  return false;
}

int ChildProcess::signalAndWait(int signal, std::chrono::milliseconds limit) {
  if (signal && pid_ > 0) kill(pid_, signal);
  const auto end = std::chrono::steady_clock::now() + limit;
  while (running() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (running()) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
    pid_ = -1;
  }
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
}

}  // namespace support
