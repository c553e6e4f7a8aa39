#include "bridge/gain/gain_stage.h"

#include <algorithm>
#include <cmath>

namespace vbvis {

namespace {

float finiteOrZero(float x) { return std::isfinite(x) ? x : 0.0f; }

}  // namespace

void GainStage::setFixed(double db) {
  automatic_ = false;
  fixedDb_ = db;
}

void GainStage::setAutomatic() {
  if (automatic_) return;
  // From where the fixed gain stood, so switching over does not jump.
  auto_.start(fixedDb_);
  automatic_ = true;
}

void GainStage::newSource() {
  history_.clear();
  meterFilter_.reset();
  startStep();
}

void GainStage::startStep() {
  stepFilled_ = 0;
  stepSquares_ = 0.0;
  stepPeak_ = 0.0f;
}

std::span<const float> GainStage::apply(std::span<const float> stereo, int sampleRate) {
  if (sampleRate != sampleRate_) {
    sampleRate_ = sampleRate;
    stepFrames_ = static_cast<std::size_t>(std::max(1L, std::lround(sampleRate * LevelHistory::kStepSeconds)));
    meterFilter_ = HighPass(kMeterCutoffHz, sampleRate);
    startStep();
  }
  const bool untouched = !automatic_ && fixedDb_ == 0.0;
  if (!untouched) out_.resize(stereo.size());
  const std::size_t frames = stereo.size() / 2;
  // In pieces that end where a step does; each piece is measured before it
  // is scaled, so the gain already knows its peak.
  for (std::size_t first = 0; first < frames;) {
    const std::size_t end = std::min(frames, first + (stepFrames_ - stepFilled_));
    measure(stereo.subspan(2 * first, 2 * (end - first)));
    if (!untouched) {
      const double db = automatic_ ? auto_.gainFor(stepPeak_) : fixedDb_;
      const float factor = static_cast<float>(std::pow(10.0, db / 20.0));
      for (std::size_t k = 2 * first; k < 2 * end; ++k) out_[k] = finiteOrZero(stereo[k]) * factor;
    }
    stepFilled_ += end - first;
    first = end;
    if (stepFilled_ == stepFrames_) finishStep();
  }
  return untouched ? stereo : std::span<const float>(out_);
}

// Kept in locals while the piece runs, so the filter's memory and the sums
// stay in registers.
void GainStage::measure(std::span<const float> piece) {
  HighPass filter = meterFilter_;
  double squares = 0.0;
  float peak = stepPeak_;
  for (std::size_t i = 0; i < piece.size(); i += 2) {
    // A damaged sample counts as silence, here and in the filter's memory.
    const float left = finiteOrZero(piece[i]), right = finiteOrZero(piece[i + 1]);
    const double heard = filter.next(0.5 * (static_cast<double>(left) + right));
    squares += heard * heard;
    peak = std::max(peak, std::max(std::fabs(left), std::fabs(right)));
  }
  meterFilter_ = filter;
  stepSquares_ += squares;
  stepPeak_ = peak;
}

void GainStage::finishStep() {
  history_.addStep(stepSquares_ / static_cast<double>(stepFrames_), stepPeak_);
  if (automatic_) auto_.step(history_);
  startStep();
}

GainStage::State GainStage::state() const {
  const double input = history_.momentaryDb();
  const double gain = currentDb();
  const double output = input > LevelHistory::kSilenceDb ? input + gain : LevelHistory::kSilenceDb;
  return {automatic_, history_.gated(), fixedDb_, gain, input, output};
}

}  // namespace vbvis
