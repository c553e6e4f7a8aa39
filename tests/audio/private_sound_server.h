#pragma once
#include <string>

#include "tests/audio/child_process.h"

// A PulseAudio server of the test's own: per-user mode (also as root) with
// a private runtime folder and home, one null sink "sonvero_null" and an
// anonymous socket. PULSE_SERVER points this process and its children at it.
class PrivateSoundServer {
 public:
  explicit PrivateSoundServer(const std::string& folder);
  ~PrivateSoundServer() { stop(); }

  // Starts the server and waits until it answers; false when it does not.
  bool start();
  void stop() { server_.stop(9); }
  // Starts a reader on the sink's monitor, so the idle sink delivers data
  // at once instead of after it wakes up.
  void keepAlive();
  // Plays a file into the null sink.
  void play(const std::string& path);

 private:
  std::string folder_;
  ChildProcess server_;
  ChildProcess reader_;
  ChildProcess player_;
};
