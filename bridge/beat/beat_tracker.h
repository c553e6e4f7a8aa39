#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "bridge/beat/beat_features.h"
#include "bridge/beat/beat_grid.h"
#include "bridge/beat/onset_strength.h"
#include "bridge/beat/tempo_estimator.h"

namespace vbvis {

// Follows the beat of the audio it is given, causally: onset strength per
// hop, the tempo every quarter second (held near the followed one; another
// taken only when it wins for a while, longer for triple-related tempi,
// which fills and busy hats suggest), the beat grid, its confidence, and
// the next beats. Whether the beat is the followed tempo or twice or half
// as fast is judged on its own: besides how well each fits the onsets and
// how likely it is as a tempo, the faster one must have beats that are
// alike, as a beat's are; when every other one is weak, they are off-beats
// and the beat is the slower one. Times are sample positions counted
// from the first sample pushed. The same samples give the same results.
class BeatTracker {
 public:
  explicit BeatTracker(int sampleRate);

  // Interleaved stereo frames, in order, each once.
  void push(std::span<const float> stereo);

  struct State {
    bool locked = false;
    double bpm = 0.0;          // 0 when not locked
    int confidence = 0;        // 0..100
    double periodSamples = 0.0;
    // The next beats after the newest sample, in samples; -1 for none.
    std::array<double, 4> nextBeats{-1.0, -1.0, -1.0, -1.0};
  };
  State state() const;

  // The operator's word: the beat is `periodSamples` long and falls at
  // `beatSample` (a sample position, as nextBeats are; any beat of the
  // grid, past or to come). Followed at once, locked, and refined from
  // there: no other tempo, level or phase is taken against it until the
  // tempo is lost (the music stops, or it no longer fits at all).
  void lead(double periodSamples, double beatSample);
  // The beat half a beat later, on the operator's word (led from there likewise).
  void shiftHalf();
  std::int64_t samples() const { return samples_; }
  int sampleRate() const { return rate_; }
  double hopSamples() const { return onsets_.hop(); }

 private:
  void addFrame(const OnsetStrength::Frame& frame);
  void checkPhase(bool started);
  // Whether a grid of `period` frames may be following half a fast tempo.
  bool halvesFast(double period) const;
  void updateTempo();
  double metricalScore(const TempoEstimator::Candidate& candidate) const;
  TempoEstimator::Candidate metricalChoice(const TempoEstimator::Candidate& best) const;
  void follow(const TempoEstimator::Estimate& estimate);
  void checkLevel();
  double levelScore(double period, double alternation) const;
  void judge();
  void forget();
  void hearSilence(float levelDb);
  void hearBeat();
  bool quiet() const;

  int rate_;
  OnsetStrength onsets_;
  TempoEstimator tempo_;
  BeatGrid grid_;
  BeatFeatures features_;
  std::vector<float> mono_, history_, lows_;
  std::vector<OnsetStrength::Frame> fresh_;
  int phaseVotes_ = 0;          // beats running another offset won
  int votedQuarters_ = 0;       // and which
  bool levelUnjudged_ = false;  // the level changed and no verdict had bars enough since
  std::int64_t samples_ = 0;
  std::int64_t frames_ = 0;
  double period_ = 0.0;         // frames; 0 while no tempo is followed
  double candidate_ = 0.0;      // a tempo seen before it is followed
  int agreeing_ = 0;
  double challenger_ = 0.0;     // another tempo that beats the followed one
  int challenges_ = 0;
  double faster_ = 0.0;         // evidence gathered for the level twice as fast
  double slower_ = 0.0;         // and for the one half as fast
  double support_ = 0.0;        // how much the recent estimates back the followed tempo, 0..1
  std::int64_t heldSince_ = 0;  // frame the followed tempo (or level) was last taken
  std::int64_t silentFrames_ = 0;
  double loudDb_ = -120.0;      // the music's level, followed
  double recentPower_ = 0.0;    // the level of the last moments, in power
  double typicalBeat_ = 0.0;    // a beat's strongest onset, followed
  int weakBeats_ = 0;
  std::uint8_t emptyBeats_ = 0;  // the last eight beats, newest in bit 0: 1 for one heard in silence
  bool gone_ = false;           // the beat is no longer heard
  std::int64_t goneFrames_ = 0;
  int confidence_ = 0;
  bool locked_ = false;
  bool led_ = false;            // the operator set the tempo or phase
};

}  // namespace vbvis
