#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "bench/click_latency/pulse_stream_client.h"

// Plays a steady stream of silence into a sink and puts a short click into
// it at chosen sample positions. For every click it notes, on the steady
// clock, when the buffer holding the click's first sample was handed to the
// server (`writtenNs`) and when that sample is played by the sink
// (`playedNs`: the write time plus the stream's latency at that moment,
// which the server gives as queued audio plus the sink's own latency).
class ClickPlayer {
 public:
  struct Options {
    std::string sink;              // empty: the default sink
    double clickMs = 2.0;          // length of the click (a flat pulse on both sides)
    float amplitude = 0.9f;        // full scale 1.0
    int latencyMs = 50;            // the playback stream's target buffer
  };
  struct Click {
    std::int64_t startFrame = 0;   // position in the stream
    std::int64_t writtenNs = -1;   // steady clock
    std::int64_t playedNs = -1;
    std::int64_t latencyUs = -1;   // stream latency before the click's buffer
  };

  explicit ClickPlayer(Options options);

  // Connects and starts the silence; false (with a message) when the server
  // or the sink does not answer.
  bool start(std::string& error);
  // Queues a click `afterMs` after the last queued click (or after the stream's
  // current write position when none is queued).
  void queueClick(double afterMs);
  // The clicks queued so far, with their times as far as known.
  std::vector<Click> clicks();
  std::string bufferReport();

 private:
  void write(size_t bytes);

  Options options_;
  std::mutex mutex_;               // clicks_ between the player thread and callers
  std::vector<Click> clicks_;
  std::int64_t writeFrame_ = 0;    // frames written so far
  std::int64_t clickFrames_;
  std::vector<float> buffer_;
  // Last, so its thread stops before the members its callbacks use go.
  PulseStreamClient client_{"click_latency player"};
};
