#pragma once
#include <string>

#include "audio/vbvis/capture.h"

namespace vbvis {

// Records a capture source of the sound server: "@DEFAULT_MONITOR@" (what
// the computer plays) or any source by name, as 48 kHz float stereo in
// fragments of 10 ms. When the server goes away, the source vanishes or no
// audio has come for a second, the stream is dropped and opened again
// about every second; meanwhile nothing arrives and the analysis reads
// silence. Its state says whether it records, and if not whether the
// server or the named source is missing.
class PulseCapture : public Capture {
 public:
  static constexpr int kRate = 48000;
  static constexpr const char* kDefaultMonitor = "@DEFAULT_MONITOR@";
  explicit PulseCapture(std::string device);
  int sampleRate() const override { return kRate; }
  void run(FrameRing& ring, const std::atomic<bool>& stop) override;
  const SourceState* state() const override { return &state_; }

 private:
  // One connection from opening to failure (or stop).
  void captureUntilFailure(FrameRing& ring, const std::atomic<bool>& stop);

  std::string device_;
  SourceState state_;
};

}  // namespace vbvis
