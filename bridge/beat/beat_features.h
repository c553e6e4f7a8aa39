#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "bridge/beat/onset_strength.h"

namespace vbvis {

// The last seconds of what each hop gave (OnsetStrength::Frame), looked up
// at fractional frame positions: the onset strength and the low end's
// level near a position, how much the harmony changes there, and how the
// harmony's changes repeat. Positions are frames counted from the first
// one added; what is no longer kept (or not yet there) reads as 0.
class BeatFeatures {
 public:
  // `frames` kept; the harmony's changes are followed frame by frame over
  // `changeSpan` frames either side of each.
  BeatFeatures(int frames, int changeSpan);

  void add(const OnsetStrength::Frame& frame);
  std::int64_t frames() const { return added_; }
  bool kept(double at) const;

  // The largest onset strength, and low-end level, within a frame of `at`.
  float onset(double at) const;
  float low(double at) const;
  // The largest onset strength from `from` to `to`.
  float strongestOnset(double from, double to) const;
  // How different the pitch classes sounding over `span` frames after `at`
  // are from those over `span` frames before it: 0 the same harmony, up
  // to 1 none in common (a cosine distance). 0 when either span is not all kept.
  double harmonyChange(double at, double span) const;
  // How alike the harmony's changes are `lag` frames apart over the last
  // `over` frames (their autocorrelation against its value at no lag, at
  // the best of the lags within two frames): towards 1 when chords change
  // every `lag` frames, about 0 when they change at other times or the
  // harmony holds. 0 when fewer than a quarter of `over` frames lie `lag` apart.
  double changesRepeat(double lag, int over) const;

 private:
  using Chroma = std::array<double, OnsetStrength::kPitchClasses>;
  std::size_t slot(std::int64_t frame) const { return static_cast<std::size_t>(frame % size_); }
  Chroma chromaSum(std::int64_t from, std::int64_t to) const;  // frames [from, to)

  std::int64_t size_;
  std::int64_t added_ = 0;
  std::vector<float> onset_, low_;
  std::vector<Chroma> running_;  // the chroma summed over every frame up to and with this one
  int changeSpan_;
  std::vector<float> changes_;   // harmonyChange over changeSpan_, each frame once both sides are heard
  mutable std::vector<double> centred_;  // changesRepeat's working copy of the changes
};

}  // namespace vbvis
