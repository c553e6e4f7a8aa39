#pragma once
#include <cstdint>
#include <vector>

namespace vbvis {

// Where the beats fall, given the period: a cumulative score over the
// onset frames (each frame's onset plus the best score one period back,
// with periods far from the expected one weighed down), so that a frame
// scores high when it and a chain of beats a period apart before it carry
// onsets. A grid (one beat position and the period) is carried forward; a
// third of a period after each expected beat, the best-scoring frame near
// it is taken as that beat, and the grid moves part of the way towards it;
// when another phase of the period scores clearly better over the last
// beats (an off-beat) the grid moves there, never onto a swung eighth: of
// two strong phases where one follows the other by 57 to 70 % of a period
// (long, then short), the first is the beat. The beats taken also correct
// the period a little, so a tempo that keeps rising or falling is followed
// without lagging. Positions are onset frames counted from the first,
// fractional.
class BeatGrid {
 public:
  // `history`: frames of score kept (more than two of the longest periods).
  explicit BeatGrid(int history);

  // Adds the next frame's onset with the period to follow (0: none).
  void add(float onset, double period);
  // Forgets the grid (not the score): the next beat is sought afresh. A
  // grid dropped for a new tempo that is `trusted` (the music goes on, at
  // another tempo) keeps its regularity, so the lock holds through the
  // change; another starts from a regularity of one half.
  void dropGrid(bool trusted = false);

  bool hasGrid() const { return expected_ >= 0.0; }
  // The next expected beat, and the period the grid follows.
  double expected() const { return expected_; }
  double period() const { return period_ + drift_; }
  // Beats taken since the grid was set.
  int beats() const { return beats_; }
  // How closely the taken beats fell on the grid lately, 0..1.
  double regularity() const { return regularity_; }

  // The onsets of alternate beats over the last eight beats: the weaker
  // half's against the stronger's (0..1, the median of four pairs; about 1
  // when every beat is alike, low when every other beat is really an
  // off-beat), and the position of the last beat of the stronger half.
  struct Alternation {
    double ratio = 1.0;
    double strongBeat = -1.0;
  };
  Alternation alternation() const;
  // The onsets halfway between beats against those on the beats before
  // them, the median over the last eight beats.
  double offBeats() const;
  // Follows another period from the beat at `beat` on (a metrical level
  // twice or half as fast, or the operator's), keeping the lock; `beat`
  // may lie ahead.
  void follow(double period, double beat);
  // Keeps the phase where it is put (the operator's): no swung note or
  // better phase moves it, until the grid is dropped.
  void keepPhase() { phaseKept_ = true; }
  // Whether the grid follows half a fast tempo: its quarter periods are the
  // music's off-beats, and every shift of its phase is then the tracker's
  // to judge (on more than the onsets), none the grid's.
  void halvesFastTempo(bool halves) { halvesFast_ = halves; }
  std::int64_t frames() const { return frames_; }

 private:
  float score(std::int64_t frame) const { return score_[static_cast<std::size_t>(frame % size_)]; }
  void weigh(double period);
  void start();
  void decide();
  void checkPhase(double expected);
  double swungBeat(double at) const;
  float peak(const std::vector<float>& values, double at) const;
  double chain(const std::vector<float>& values, double at, int beats, double step = 0.0) const;
  double medianRatio(double at, int count, double apart, double step) const;
  double lastBeat() const { return expected_ - period_; }

  std::int64_t size_;
  std::vector<float> score_;
  std::vector<float> onsets_;
  std::int64_t frames_ = 0;
  double period_ = 0.0;
  double weighedFor_ = 0.0;
  std::vector<float> weights_;   // by distance back, from period/2 to 2 periods
  int nearest_ = 0;              // distance of weights_[0]
  double expected_ = -1.0;
  int beats_ = 0;
  double regularity_ = 0.5;
  double drift_ = 0.0;           // frames added to each period, from the beats taken
  double pendingShift_ = -1.0;   // the other phase that scored better at the last beat
  int shiftVotes_ = 0;
  bool phaseKept_ = false;
  bool halvesFast_ = false;
};

}  // namespace vbvis
