#pragma once
#include <atomic>
#include <chrono>

#include "bridge/capture/capture_sink.h"
#include "bridge/capture/source_state.h"

namespace vbvis {

// What runs on the capture thread: keeps the source open until told to
// stop (a capture never gives up on its own: a failing source is reopened).
// The audio reaches the ring (and the beat tracker's tap) when the reader
// pulls it, just before each analysis, and otherwise every kBackgroundFill
// from the capture thread, so that thread wakes a few times a second rather
// than for every fragment the source delivers. After each of its fills the
// capture thread runs the beat tracker over what arrived (sink.track()).
class Capture {
 public:
  static constexpr std::chrono::milliseconds kBackgroundFill{250};

  virtual ~Capture() = default;
  virtual int sampleRate() const = 0;
  virtual void run(CaptureSink& sink, const std::atomic<bool>& stop) = 0;
  // What the source says about itself, for a source that can fail; none
  // for one that always plays.
  virtual const SourceState* state() const { return nullptr; }
  // On the reader's thread: moves what the source has delivered by now into
  // the ring. Never waits: while the capture thread is busy with the source
  // (opening it, filling), the ring already holds what came before.
  virtual void pull(CaptureSink&) {}
  // Lets run() see its stop flag at once.
  virtual void wake() {}
};

}  // namespace vbvis
