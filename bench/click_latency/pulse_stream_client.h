#pragma once
#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <functional>
#include <string>

// One client of the sound server on a thread of its own (a threaded main
// loop) with one stream of 48 kHz float stereo: what the click player and
// the reference recorder share. Callbacks run on the client's thread; other
// threads hold a Lock while they touch the stream.
class PulseStreamClient {
 public:
  static constexpr int kRate = 48000;

  explicit PulseStreamClient(std::string clientName) : clientName_(std::move(clientName)) {}
  ~PulseStreamClient();
  PulseStreamClient(const PulseStreamClient&) = delete;
  PulseStreamClient& operator=(const PulseStreamClient&) = delete;

  // Connects, creates the stream, lets `connect` set its callbacks and
  // connect it (playback or record; a negative result is a failure) and
  // waits until it runs. False, with a message, when any step fails.
  bool start(const std::string& streamName, const std::function<int(pa_stream*)>& connect, std::string& error);

  pa_stream* stream() const { return stream_; }
  static const pa_sample_spec& format();

  class Lock {
   public:
    explicit Lock(PulseStreamClient& client) : loop_(client.loop_) { pa_threaded_mainloop_lock(loop_); }
    ~Lock() { pa_threaded_mainloop_unlock(loop_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    pa_threaded_mainloop* loop_;
  };

 private:
  static void signal(void* self);

  std::string clientName_;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
};
