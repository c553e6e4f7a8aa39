#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "bench/click_latency/pulse_stream_client.h"

// A second listener on the sink's monitor, asking for the same 10 ms
// fragments as Sonvero's capture: it stamps the arrival of each fragment
// that holds a click's first loud sample, which is when that click becomes
// readable to any recorder of the monitor. It checks the player's estimate
// of the play time and marks where Sonvero's part of the latency begins.
class MonitorRecorder {
 public:
  MonitorRecorder(std::string source, int fragmentMs, float threshold)
      : source_(std::move(source)), fragmentMs_(fragmentMs), threshold_(threshold) {}

  bool start(std::string& error);
  // Steady-clock arrival of every fragment in which a click began.
  std::vector<std::int64_t> onsets();

 private:
  void read(pa_stream* stream);

  std::string source_;
  int fragmentMs_;
  float threshold_;
  std::mutex mutex_;
  std::vector<std::int64_t> onsets_;
  std::int64_t quietFrames_ = 1LL << 40;  // frames since the last loud one
  // Last, so its thread stops before the members its callbacks use go.
  PulseStreamClient client_{"click_latency reference"};
};
