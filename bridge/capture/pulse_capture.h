#pragma once
#include <string>

#include "bridge/capture/capture.h"
#include "bridge/capture/fill_turn.h"

namespace vbvis {

// Records a capture source of the sound server: "@DEFAULT_MONITOR@" (what
// the computer plays) or any source by name, as 48 kHz float stereo in
// fragments of 10 ms. The fragments wait in the connection until a pull (or
// the background fill) moves them into the ring. When the server goes away,
// the source vanishes or no audio has come for a second, the stream is
// dropped and opened again about every second; meanwhile nothing arrives
// and the analysis reads silence. Its state says whether it records, and if
// not whether the server or the named source is missing.
class PulseCapture : public Capture {
 public:
  static constexpr int kRate = 48000;
  static constexpr const char* kDefaultMonitor = "@DEFAULT_MONITOR@";
  explicit PulseCapture(std::string device);
  int sampleRate() const override { return kRate; }
  void run(CaptureSink& sink, const std::atomic<bool>& stop) override;
  const SourceState* state() const override { return &state_; }
  void pull(CaptureSink& sink) override;
  void wake() override { turn_.wake(); }

 private:
  class Session;
  // One connection from opening to failure (or stop).
  void captureUntilFailure(CaptureSink& sink, const std::atomic<bool>& stop);
  // A named source stays that source (gone means reopen until it is back);
  // the default monitor may follow the server to another device.
  bool named() const { return device_ != kDefaultMonitor; }
  // The server refused the stream before it recorded: the state says why.
  void refused(int error);

  std::string device_;
  SourceState state_;
  FillTurn turn_;
  Session* session_ = nullptr;  // the open stream, changed only in turn
};

}  // namespace vbvis
