#pragma once
#include <cstddef>

#include "bridge/gain/level_history.h"

namespace vbvis {

// The automatic gain's rule, one step of 10 ms at a time: bring the input's
// level to kReferenceDb. The level is LevelHistory's held level, or, where
// the music's peaks stand higher than that, the level at which its held
// peak sits kHeadroomDb under full scale.
//
//  - A difference of more than kFastBeyondDb is a change of the music: the
//    gain follows it quickly for a second at least and until within
//    kFastUntilDb, down with
//    kAttackSeconds (a loud entry is fully in the momentary level within
//    0.4 s) and up with kReleaseSeconds once the second of hold no longer
//    holds the louder audio (a fall of 20 dB is taken up within 1 dB in
//    about 4 s). Quick while far off, slow when near: no overshoot.
//  - A smaller one is the music's own swing (a fill, a crash, a louder
//    bar): followed with kSlowDownSeconds and kSlowUpSeconds only, so the
//    light keeps the music's dynamics and nothing pumps.
//  - Under the gate the level is not followed at all, so after a pause the
//    music starts where it stood. The gain stands still through the gaps
//    of sparse music (LevelHistory::present()); after that a gain above
//    0 dB falls to 0 dB at kGatedFallDbPerSecond, so silence and a noise
//    floor are never raised into light. It is back as the gate opens.
// Whatever the level does, the gain leaves the peaks of the last second
// (and the one in hand: gainFor) at least the headroom under full scale,
// and stays within kMinDb..kMaxDb.
class AutoGain {
 public:
  static constexpr double kMinDb = -12.0;
  static constexpr double kMaxDb = 36.0;
  // The held level the music is brought to: a mixed song's peaks then
  // stand just under full scale, and its loudest spectrum pixels high on
  // the analysis's 70 dB scale without reaching its top.
  static constexpr double kReferenceDb = -16.0;
  static constexpr double kHeadroomDb = 1.0;
  static constexpr double kFastBeyondDb = 3.0;
  static constexpr double kFastUntilDb = 0.25;
  static constexpr double kAttackSeconds = 0.05;
  static constexpr double kReleaseSeconds = 0.75;
  static constexpr double kSlowDownSeconds = 3.0;
  static constexpr double kSlowUpSeconds = 3.0;
  static constexpr double kGatedFallDbPerSecond = 24.0;

  // Starts from `gainDb`, the gain applied until now.
  void start(double gainDb);
  void step(const LevelHistory& history);

  // The gain now, dB.
  double gainDb() const { return applied_; }
  // The gain for audio whose highest sample is `peak`: lower than gainDb()
  // where that would take the peak past the headroom.
  double gainFor(float peak) const;

 private:
  // The gain no higher than keeps `peak` the headroom under full scale.
  void keepUnder(float peak);

  double level_ = kReferenceDb;  // the level the gain answers to, dBFS
  double applied_ = 0.0;
  std::size_t fastSteps_ = 0;  // steps since a change of the music began, while following it
};

}  // namespace vbvis
