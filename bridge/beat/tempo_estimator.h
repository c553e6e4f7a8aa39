#pragma once
#include <span>
#include <vector>

namespace vbvis {

// The beat period of the last few seconds of onset strength, 60 to 200 BPM.
// The onsets, less their local mean, are autocorrelated; each candidate
// period scores the mean of the autocorrelation at its first multiples (a
// comb, over a bar at least), so a period whose multiples also repeat (the
// beat, not the eighth-note hats between beats, nor a cross-rhythm of the
// kick) stands out; a prior over tempo (centred
// near 120 BPM, an octave wide) settles what the comb cannot. Salience is
// the comb's score against the autocorrelation at lag 0: about 0 for noise
// or silence, towards 1 for a steady beat.
class TempoEstimator {
 public:
  explicit TempoEstimator(double framesPerSecond);

  // How far (a share of the period) a candidate may lie from the current
  // period to count as near it: room for a tempo that drifts between
  // estimates, and far from any related tempo (the nearest, 4/3, lies a
  // third away).
  static constexpr double kNearCurrent = 0.08;

  struct Candidate {
    double period = 0.0;    // in onset frames, 0 when there is none
    double salience = 0.0;  // the onsets' comb, 0..1
    double fit = 0.0;       // the onsets' and the low end's comb together, 0..1: what candidates are chosen by
  };
  struct Estimate {
    Candidate best;         // over the whole range, with the prior
    Candidate nearCurrent;  // within kNearCurrent of the current period
    double typical = 0.0;   // the onsets' comb of the middle candidate, ranked: what any period scores
  };
  // `onsets`: the newest window() frames (or fewer), oldest first;
  // `lows`: the low end's level over the same frames (the kick's, which a
  // dense texture of eighths does not hide), or empty. `current`: the
  // period followed now, 0 for none.
  Estimate estimate(std::span<const float> onsets, std::span<const float> lows, double current);

  // The onsets' comb of `period` (0..1) in the last estimate.
  double salienceOf(double period) const;
  // The candidate that fits best within kNearRelated of `period` (a share
  // of it) in the last estimate, refined; none (period 0) outside the range.
  Candidate bestNear(double period) const;
  static constexpr double kNearRelated = 0.02;
  int window() const { return window_; }
  double minPeriod() const { return minPeriod_; }
  double maxPeriod() const { return maxPeriod_; }

 private:
  double fit(double period) const;
  double combOf(const std::vector<double>& acf, double period) const;
  double refine(double period) const;
  // The autocorrelation of `values` less their local and overall mean into `acf`; false when too little goes on.
  bool autocorrelate(std::span<const float> values, std::vector<double>& acf);

  double fps_;
  int window_;
  int maxLag_;
  double minPeriod_, maxPeriod_;
  double combSpan_;                  // frames the comb's multiples reach
  std::vector<double> candidates_;   // periods, slow to fast
  std::vector<double> prior_;        // per candidate
  std::vector<float> detrended_;
  std::vector<double> acf_, lowAcf_, combs_;
  bool withLow_ = false;
};

}  // namespace vbvis
