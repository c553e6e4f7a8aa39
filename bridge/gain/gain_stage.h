#pragma once
#include <cstddef>
#include <span>
#include <vector>

#include "bridge/gain/auto_gain.h"
#include "bridge/gain/high_pass.h"
#include "bridge/gain/level_history.h"

namespace vbvis {

// The gain between a source and the analysis: fixed in dB or automatic
// (AutoGain). It belongs to the user, not to a source: a new source keeps
// it and only starts its measurements afresh. At a fixed 0 dB the audio
// passes untouched, bit for bit.
class GainStage {
 public:
  struct State {
    bool automatic;
    bool gated;        // the input lies under the gate
    double fixedDb;    // the fixed gain last chosen
    double gainDb;     // the gain applied now
    double inputDb;    // momentary level before the gain, dBFS
    double outputDb;   // the same after the gain
  };

  void setFixed(double db);  // within AutoGain::kMinDb..kMaxDb
  void setAutomatic();
  // Forgets the audio measured so far (the gain stays).
  void newSource();

  // The interleaved stereo frames `stereo` at `sampleRate`, through the
  // gain: `stereo` itself at a fixed 0 dB, else a buffer of the stage's
  // own, valid until the next call. Samples that are not finite are
  // measured as silence and, through a gain, given as silence.
  std::span<const float> apply(std::span<const float> stereo, int sampleRate);

  State state() const;

 private:
  void startStep();
  // Adds a piece of the step being filled to its measurement.
  void measure(std::span<const float> piece);
  void finishStep();
  double currentDb() const { return automatic_ ? auto_.gainDb() : fixedDb_; }

  bool automatic_ = false;
  double fixedDb_ = 0.0;
  AutoGain auto_;
  LevelHistory history_;
  static constexpr double kMeterCutoffHz = 30.0;
  HighPass meterFilter_;
  std::vector<float> out_;

  int sampleRate_ = 0;
  std::size_t stepFrames_ = 1;
  // The step being filled.
  std::size_t stepFilled_ = 0;
  double stepSquares_ = 0.0;
  float stepPeak_ = 0.0f;
};

}  // namespace vbvis
