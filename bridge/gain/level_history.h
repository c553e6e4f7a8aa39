#pragma once
#include <array>
#include <cstddef>

namespace vbvis {

// What the automatic gain knows of its input, in steps of 10 ms: the
// momentary level (RMS of the last 400 ms), whether the input is music to
// follow or lies under the gate, and, over the last second of audio above
// the gate, the highest momentary level and the highest sample.
//
// 400 ms is long enough that one drum hit moves it by a few dB only and
// short enough that a loud entry is fully in it within 0.4 s. The second of
// hold spans two beats even at 60 BPM, so the held level stands still from
// beat to beat instead of sagging between kicks.
//
// The gate opens on a level above kGateOpenDb, as any music that is not
// very quiet has. Under it, down to kQuietFloorDb, the input is music only
// when it moves: a quiet player's beats swing its momentary level by a dB
// or more within every second, where a steady noise floor (pink or white
// noise, hum) stays within a fraction of one. A quiet stretch counts as
// music once each of the last three seconds moved so, none of them
// reaching kGateOpenDb or falling under the floor, so the tail of a song
// fading into noise, which moves once, never counts.
class LevelHistory {
 public:
  static constexpr double kStepSeconds = 0.01;
  static constexpr std::size_t kMomentarySteps = 40;  // 400 ms
  static constexpr std::size_t kHoldSteps = 100;      // 1 s
  // The gate closes when the momentary level falls below kGateCloseDb and
  // opens again above kGateOpenDb, so a level that hovers near it does not
  // flicker in and out.
  static constexpr double kGateCloseDb = -50.0;
  static constexpr double kGateOpenDb = -47.0;
  // Quiet music: every second of the last kLivelySeconds swings by at least
  // kLivelySpreadDb, within kQuietFloorDb..kGateOpenDb.
  static constexpr double kQuietFloorDb = -80.0;
  static constexpr double kLivelySpreadDb = 1.2;
  static constexpr std::size_t kLivelySeconds = 3;
  // After the gate closes the input still counts as present this long: the
  // gaps of a sparse intro (a hit every two seconds) are no pause.
  static constexpr std::size_t kPresenceSteps = 200;  // 2 s
  // What silence reads as, in place of minus infinity.
  static constexpr double kSilenceDb = -120.0;

  // One finished step: the mean square of its mono mix and its highest
  // absolute sample of either side (full scale 1.0).
  void addStep(double meanSquare, float peak);
  // Forgets all audio (a new source); the gate starts closed.
  void clear();

  double momentaryDb() const { return momentaryDb_; }
  bool gated() const { return gated_; }
  // The gate was open within the last kPresenceSteps.
  bool present() const { return stepsClosed_ < kPresenceSteps; }
  // The momentary window holds nothing but audio above the gate; until
  // then (a new source, the end of a pause) the held values do not move.
  bool measured() const { return openSteps_ >= kMomentarySteps; }
  // Over the last kHoldSteps measured steps (silence while there are none).
  double heldDb() const;
  float heldPeak() const;
  // The highest sample of the last `steps` steps (at most kPresenceSteps),
  // gate or not.
  float recentPeak(std::size_t steps = kPresenceSteps) const;

 private:
  std::array<double, kMomentarySteps> meanSquares_{};
  std::size_t momentaryNext_ = 0;
  double momentaryDb_ = kSilenceDb;
  bool gated_ = true;
  std::size_t openSteps_ = 0;
  std::size_t stepsClosed_ = kPresenceSteps;

  // Whether the last kLivelySeconds were quiet music (see above).
  bool quietMusic() const;
  static constexpr std::size_t kSecondSteps = 100;
  std::array<double, kLivelySeconds * kSecondSteps> recent_{};  // momentary levels
  std::size_t recentNext_ = 0, recentCount_ = 0;
  std::array<float, kPresenceSteps> recentPeaks_{};
  std::size_t peakNext_ = 0;

  struct Held {
    double db;
    float peak;
  };
  std::array<Held, kHoldSteps> holds_{};
  std::size_t holdNext_ = 0, held_ = 0;
};

// Power (a mean square) as dB, kSilenceDb for nothing.
double powerDb(double meanSquare);

}  // namespace vbvis
