#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "bridge/capture/capture.h"
#include "bridge/capture/fill_turn.h"
#include "bridge/capture/frame_generator.h"

namespace vbvis {

// Plays a file or the demo track in real time: each fill hands the ring as
// many frames as the wall clock says have played since the last one.
class PacedCapture : public Capture {
 public:
  explicit PacedCapture(std::unique_ptr<FrameGenerator> generator) : generator_(std::move(generator)) {}
  int sampleRate() const override { return generator_->sampleRate(); }
  void run(CaptureSink& sink, const std::atomic<bool>& stop) override;
  void pull(CaptureSink& sink) override {
    turn_.tryNow([&] { fill(sink); });
  }
  void wake() override { turn_.wake(); }

 private:
  bool fill(CaptureSink& sink);

  std::unique_ptr<FrameGenerator> generator_;
  FillTurn turn_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::int64_t played_ = 0;
  std::vector<float> chunk_;
};

}  // namespace vbvis
