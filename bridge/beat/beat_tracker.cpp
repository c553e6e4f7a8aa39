#include "bridge/beat/beat_tracker.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <span>

#include "bridge/beat/phase_judge.h"
#include "bridge/beat/tempo_prior.h"
#include "bridge/maths/one_pole.h"

namespace vbvis {

namespace {

constexpr double kTempoEverySeconds = 0.25;
constexpr double kHistorySeconds = 8.0;   // of cumulative score: eight slowest periods
// A first tempo is taken from kLeastStartSeconds of onsets or more (from
// less, three eighths fit as well as a beat), once kAgreementsNeeded updates running find it
// the best, each within kAgreeWithin (a share of its period) of the one
// before, with a salience of kClearSalience or more; one heard above noise
// (kNoiseSalience) but less clearly, as dense music is, needs
// kUnclearAgreementsNeeded (two seconds): its best fit stays put, while
// noise's wanders from update to update.
constexpr double kLeastStartSeconds = 2.0;
constexpr int kAgreementsNeeded = 2;
constexpr int kUnclearAgreementsNeeded = 8;
constexpr double kClearSalience = 0.2;
constexpr double kAgreeWithin = 0.04;
// The followed tempo's support (0..1): the share of recent updates that
// back it, each update's word counting kSupportFollow; it starts at
// kStartSupport and below kLoseSupport the tempo is let go. An update backs
// it when the best fit lies within kAgreement of it (or of twice or half
// of it) and the tempo is heard above noise.
constexpr double kStartSupport = 0.5;
constexpr double kSupportFollow = 0.15;
constexpr double kLoseSupport = 0.15;
constexpr double kAgreement = 0.05;
constexpr double kCompetitiveFit = 0.75;
// Locked only once the tempo has held (no other tempo or level taken) this
// long: a song that starts at double time is not shown at it.
constexpr double kHeldSeconds = 1.0;
// Silence: a hop below kSilenceDb, or kSilenceBelowDb under the music's
// level (followed up within kLoudAttackSeconds, down over
// kLoudReleaseSeconds: slowly, so that what follows the music is measured
// against the music). After kForgetSeconds of silence, or of the beat gone,
// the tempo is let go and what comes next is tracked afresh.
constexpr double kSilenceDb = -70.0;
constexpr double kSilenceBelowDb = 35.0;
constexpr double kLoudAttackSeconds = 0.1;
constexpr double kLoudReleaseSeconds = 30.0;
constexpr double kForgetSeconds = 2.0;
// The beat gone: a beat whose strongest onset (within kBeatWindow of a
// period of it) is below kWeakBeat of a beat's (followed over beats,
// kTypicalFollow of each), kGoneBeats running, while the level of the last
// kRecentSeconds lies kQuietBelowDb under the music's. Once gone, only a
// beat kBackBeat as strong as a typical one brings it back.
constexpr double kBeatWindow = 0.1;
constexpr double kWeakBeat = 0.2;
constexpr double kBackBeat = 0.5;
constexpr double kTypicalFollow = 0.1;
constexpr int kGoneBeats = 2;
constexpr double kRecentSeconds = 0.3;
constexpr double kQuietBelowDb = 10.0;
// A beat is empty when it is weak and, when it is judged, silence has
// lasted kEmptyBeatSilence of a period (since soon after the beat before).
// kEmptyBeatsToStop of the last eight so, and no beat is shown (a beat
// heard now and then in silence is no beat to flash on); kEmptyBeatsToHalve,
// and the tempo halves (clicks every other beat), if it can.
constexpr double kEmptyBeatSilence = 1.0;
constexpr int kEmptyBeatsToStop = 1;
constexpr int kEmptyBeatsToHalve = 4;
// Where the grid's beats should sit (PhaseJudge): judged over up to
// kPhaseBars bars of features kept kFeatureSeconds; another offset is taken
// when it wins by kPhaseMargin kPhaseVotes beats running.
constexpr int kPhaseBars = 8;
constexpr double kFeatureSeconds = 20.0;
constexpr double kPhaseMargin = 1.0;
constexpr int kPhaseVotes = 3;
// The harmony is compared over at least this either side of a point: the
// eighths of a fast grid hold too few frames to tell one chord.
constexpr double kLeastChordSeconds = 0.2;
// Tempi (twice the grid's) at which a grid may be following half the music's tempo.
constexpr double kHalvedFromBpm = 140.0;
constexpr double kFastestHalvedBpm = 200.0;
// Each update moves the followed period this share of the way to the
// estimate near it: a tempo that drifts is followed within a few updates,
// while one update's error moves it only half as far.
constexpr double kFollowShare = 0.5;
// Another tempo must beat the followed one by kChallengeMargin,
// kChallengesNeeded updates running. Double or half the tempo is left to
// the check of the metrical level. A tempo a third or a quarter off (3:2,
// 4:3, and their octaves), which eighths grouped in threes, a kick every
// three sixteenths or a riff pushed by dotted quarters suggest for a while,
// must win metrically (on its fit and the bars, not the prior) for
// kHeldShareToWin of the time the followed tempo has held, from
// kLeastHarmonicWinSeconds (a first tempo, taken from a few seconds, is
// as likely a third off as any other) to kMostHarmonicWinSeconds (one that
// held through verses is not given up for a chorus). A challenger counts
// as the same one from update to update within kChallengerWithin of its
// period.
constexpr double kChallengeMargin = 1.15;
constexpr double kChallengerWithin = 0.06;
constexpr int kChallengesNeeded = 4;
constexpr double kHeldShareToWin = 0.3;
constexpr double kLeastHarmonicWinSeconds = 3.0;
constexpr double kMostHarmonicWinSeconds = 10.0;
constexpr int kSettledBeats = 16;
// The metrical level: each update adds how much better than by
// kLevelMargin the other level scores (the log of the ratio, at most
// kLevelStep) to what was gathered, of which kLevelKept is kept; the other
// level is taken when that reaches kLevelSwitch, or kEarlyLevelSwitch while
// the grid has taken fewer than kSettledBeats beats (a first tempo is often
// a level off). A level whose alternate beats are alike down to
// kAlikeAlternation (their weaker half against the stronger) counts in
// full; one whose every other beat is no stronger than an off-beat
// (kOffBeatAlternation or less) counts kOffBeatWeight of its score, as far
// as it is faster than the preferred tempo: near it a half-time feel is
// tapped at the faster level, while from kHeardSlowerBpm on the slower
// level is heard.
constexpr double kLevelMargin = 1.1;
constexpr double kLevelStep = 0.15;
constexpr double kLevelKept = 0.92;
constexpr double kLevelSwitch = 1.0;
constexpr double kEarlyLevelSwitch = 0.3;
constexpr int kLevelBeats = 4;
constexpr double kAlikeAlternation = 0.65;
constexpr double kOffBeatAlternation = 0.35;
constexpr double kOffBeatWeight = 0.6;
constexpr double kHeardSlowerBpm = 150.0;
// Salience below which nothing is heard to follow (silence, a steady
// tone), and how far a heard tempo's comb stands out from the middle
// candidate's: noise's best about twice, dense music's three to five
// times, drums' ten and more.
constexpr double kNoiseSalience = 0.06;
constexpr double kHeardContrast = 2.6;
// How much later than a drum's sound starts the onsets peak, on average:
// its attack builds over a few milliseconds (measured on the tuning songs
// against when their kick and snare start to sound).
constexpr double kAttackSeconds = 0.002;
// The confidence: the support counts kIrregularShare however the beats
// fall, and up to kRegularShare more as they fall on the grid.
constexpr double kIrregularShare = 0.3;
constexpr double kRegularShare = 0.7;
// Confidence that locks (after at least kLockBeats beats), and below which
// the lock is let go.
constexpr int kLockAt = 50;
constexpr int kUnlockBelow = 25;
constexpr int kLockBeats = 2;
// Tempi whose periods stand in one of these ratios, give or take
// kRelatedWithin: double or half (the metrical level, left to its own
// check), and those a third or a quarter off.
constexpr double kOctaveRatios[] = {2.0};
constexpr double kHarmonicRatios[] = {3.0, 1.5, 4.0, 4.0 / 3.0, 8.0 / 3.0};
constexpr double kRelatedWithin = 0.05;
// The metrical choice among tempi a third or a quarter apart (periods in
// kThirdRatios): each scores its fit, raised by kBarWeight times how alike
// the harmony's changes are one and two of its bars (kBarBeats beats)
// apart over the last kBarSeconds; no prior, which would favour whichever
// lies nearer 120 BPM where a texture of sixteenths fits them all alike.
// The harmony's changes are followed kChangeSpanSeconds either side.
constexpr double kThirdRatios[] = {1.5, 2.0 / 3.0, 4.0 / 3.0, 0.75};
constexpr double kBarWeight = 1.0;
constexpr int kBarBeats = 4;
constexpr double kBarSeconds = 12.0;
constexpr double kChangeSpanSeconds = 0.15;

bool related(double a, double b, std::span<const double> ratios) {
  const double ratio = a > b ? a / b : b / a;
  for (double h : ratios)
    if (std::abs(ratio / h - 1.0) < kRelatedWithin) return true;
  return false;
}

// A tempo is heard when its comb stands out from what any period scores
// (noise's best is only the luckiest of many alike), by kHeardContrast,
// and above kNoiseSalience.
bool heard(const TempoEstimator::Candidate& candidate, const TempoEstimator::Estimate& estimate) {
  return candidate.period > 0.0 && candidate.salience >= kNoiseSalience &&
         candidate.salience >= kHeardContrast * estimate.typical;
}

}  // namespace

BeatTracker::BeatTracker(int sampleRate)
    : rate_(sampleRate),
      onsets_(sampleRate),
      tempo_(onsets_.framesPerSecond()),
      grid_(static_cast<int>(kHistorySeconds * onsets_.framesPerSecond())),
      features_(static_cast<int>(kFeatureSeconds * onsets_.framesPerSecond()),
                static_cast<int>(std::lround(kChangeSpanSeconds * onsets_.framesPerSecond()))) {}

void BeatTracker::push(std::span<const float> stereo) {
  const std::size_t frames = stereo.size() / 2;
  mono_.resize(frames);
  for (std::size_t i = 0; i < frames; ++i) mono_[i] = 0.5f * (stereo[2 * i] + stereo[2 * i + 1]);
  fresh_.clear();
  onsets_.push(mono_.data(), frames, fresh_);
  samples_ += static_cast<std::int64_t>(frames);
  for (const OnsetStrength::Frame& frame : fresh_) addFrame(frame);
}

void BeatTracker::addFrame(const OnsetStrength::Frame& frame) {
  const float onset = frame.onset;
  features_.add(frame);
  hearSilence(frame.levelDb);
  history_.push_back(onset);
  lows_.push_back(frame.low);
  // Kept to the estimator's window, trimmed now and then rather than every frame.
  if (history_.size() > 2 * static_cast<std::size_t>(tempo_.window())) {
    history_.erase(history_.begin(), history_.end() - tempo_.window());
    lows_.erase(lows_.begin(), lows_.end() - tempo_.window());
  }
  const int beatsBefore = grid_.beats();
  const bool hadGrid = grid_.hasGrid();
  grid_.halvesFastTempo(period_ > 0.0 && halvesFast(period_));
  grid_.add(onset, period_);
  ++frames_;
  const auto every = static_cast<std::int64_t>(std::lround(kTempoEverySeconds * onsets_.framesPerSecond()));
  if (frames_ % every == 0) updateTempo();
  if (grid_.hasGrid() && !hadGrid) {
    levelUnjudged_ = false;
    checkPhase(true);
  }
  if (grid_.beats() != beatsBefore) {
    checkPhase(false);
    hearBeat();
    judge();
  }
}

// Silence: a hop far below the music's level (or below what any music
// reaches). After kForgetSeconds of it the tempo is let go, so music after
// a pause (or an outage of the source) is tracked afresh.
void BeatTracker::hearSilence(float levelDb) {
  const double fps = onsets_.framesPerSecond();
  loudDb_ += onePoleShare(1.0, (levelDb > loudDb_ ? kLoudAttackSeconds : kLoudReleaseSeconds) * fps) * (levelDb - loudDb_);
  // In power, not in dB: the gaps between a sparse beat's hits do not drag it down.
  recentPower_ += onePoleShare(1.0, kRecentSeconds * fps) * (std::pow(10.0, levelDb / 10.0) - recentPower_);
  const bool silent = levelDb < std::max(kSilenceDb, loudDb_ - kSilenceBelowDb);
  silentFrames_ = silent ? silentFrames_ + 1 : 0;
  goneFrames_ = gone_ ? goneFrames_ + 1 : 0;
  // What the estimator still holds of the music would only bring its tempo back.
  if (period_ > 0.0 && static_cast<double>(std::max(silentFrames_, goneFrames_)) >= kForgetSeconds * fps) {
    forget();
    history_.clear();
    lows_.clear();
  }
}

// The last moments lie kQuietBelowDb or more under the music's level.
bool BeatTracker::quiet() const {
  return 10.0 * std::log10(std::max(recentPower_, 1e-12)) < loudDb_ - kQuietBelowDb;
}

// After each beat: is the beat still heard? Once the music stops, what
// remains (a room's noise, a hum) has no onsets on the beats and is
// quieter than the music was: such a beat and the beats stop. A quiet bar
// of the music keeps its level or its onsets.
void BeatTracker::hearBeat() {
  const double period = grid_.period();
  const double beat = grid_.expected() - period;
  const float strength = features_.strongestOnset(beat - kBeatWindow * period, beat + kBeatWindow * period);
  // Once gone, it takes a beat as strong as half a typical one to come back.
  // Nothing at all is weak before any beat was heard.
  const bool weak = strength <= (gone_ ? kBackBeat : kWeakBeat) * typicalBeat_;
  weakBeats_ = weak ? weakBeats_ + 1 : 0;
  if (!weak) typicalBeat_ += kTypicalFollow * (strength - typicalBeat_);
  gone_ = weak && (gone_ || (weakBeats_ >= kGoneBeats && quiet()));
  // A beat in silence (clicks with nothing between them): the beat is every
  // other one, or, slower than the slowest tempo, none that can be followed.
  const bool empty = weak && static_cast<double>(silentFrames_) >= kEmptyBeatSilence * period;
  emptyBeats_ = static_cast<std::uint8_t>((emptyBeats_ << 1) | (empty ? 1 : 0));
  if (std::popcount(emptyBeats_) >= kEmptyBeatsToHalve && !led_ && 2 * period_ <= tempo_.maxPeriod()) {
    const BeatGrid::Alternation alternation = grid_.alternation();
    period_ *= 2;
    grid_.follow(period_, alternation.strongBeat);
    heldSince_ = frames_;
    faster_ = slower_ = 0.0;
    emptyBeats_ = 0;
  }
}

// The grid on the beat (PhaseJudge): a grid that starts is put right at
// once from the bars already heard; so is a grid whose level changed, by
// the first verdict with bars enough, as its beats were only a guess (the
// stronger of every other beat, or the points between). Later another
// offset is taken when it wins by kPhaseMargin, kPhaseVotes beats running.
// A new grid does not wait for bars enough: a verdict taken without votes
// later on moved steady grids onto the off-beat.
void BeatTracker::checkPhase(bool started) {
  if (!grid_.hasGrid() || led_) return;
  const double period = grid_.period();
  // A beat of the grid old enough for the harmony after it to be heard.
  const double beat = grid_.expected() - 2 * period;
  // A quarter period off matters only for a grid at half a fast tempo,
  // whose quarter periods are the music's eighths.
  const bool quarters = halvesFast(period);
  const PhaseJudge::Verdict verdict =
      PhaseJudge::judge(features_, beat, period, kPhaseBars, quarters, kLeastChordSeconds * onsets_.framesPerSecond());
  started = started || levelUnjudged_;
  if (verdict.judged) levelUnjudged_ = false;
  const bool other = verdict.quarters != 0 && verdict.margin > (started ? 0.0 : kPhaseMargin);
  phaseVotes_ = other && verdict.quarters == votedQuarters_ ? phaseVotes_ + 1 : (other ? 1 : 0);
  votedQuarters_ = other ? verdict.quarters : 0;
  if (other && (started || phaseVotes_ >= kPhaseVotes)) {
    grid_.follow(period, beat + verdict.quarters * period / 4);
    phaseVotes_ = 0;
  }
}

bool BeatTracker::halvesFast(double period) const {
  const double doubled = 2 * kSecondsPerMinute * onsets_.framesPerSecond() / period;
  return doubled >= kHalvedFromBpm && doubled <= kFastestHalvedBpm;
}

// How well a tempo of `period` frames fits the onsets and the bars the
// harmony changes by (its own bar and two of them, where heard).
double BeatTracker::metricalScore(const TempoEstimator::Candidate& candidate) const {
  const int over = static_cast<int>(kBarSeconds * onsets_.framesPerSecond());
  double bars = 0.0;
  for (int k = 1; k <= 2; ++k) bars += std::max(0.0, features_.changesRepeat(k * kBarBeats * candidate.period, over)) / 2;
  return candidate.fit * (1.0 + kBarWeight * bars);
}

// The best tempo against those a third or a quarter off it, each at the
// octave the prior prefers (as the metrical level would come to it): the
// one that scores best metrically.
TempoEstimator::Candidate BeatTracker::metricalChoice(const TempoEstimator::Candidate& best) const {
  if (best.period <= 0.0) return best;
  const double fps = onsets_.framesPerSecond();
  const auto near = [&](double period) {
    return period >= tempo_.minPeriod() && period <= tempo_.maxPeriod() ? tempo_.bestNear(period)
                                                                        : TempoEstimator::Candidate{};
  };
  const auto likelier = [&](const TempoEstimator::Candidate& a, const TempoEstimator::Candidate& b) {
    return a.fit * tempoPrior(a.period, fps) > b.fit * tempoPrior(b.period, fps);
  };
  TempoEstimator::Candidate chosen = best;
  double top = metricalScore(best);
  for (double ratio : kThirdRatios) {
    const TempoEstimator::Candidate related = near(best.period * ratio);
    if (related.period <= 0.0) continue;
    TempoEstimator::Candidate other = related;
    for (double octave : {2.0, 0.5})
      if (const TempoEstimator::Candidate o = near(related.period * octave); o.period > 0.0 && likelier(o, other)) other = o;
    if (const double score = metricalScore(other); score > top) chosen = other, top = score;
  }
  return chosen;
}

void BeatTracker::updateTempo() {
  TempoEstimator::Estimate estimate = tempo_.estimate(history_, lows_, period_);
  estimate.best = metricalChoice(estimate.best);
  if (period_ == 0.0) {
    // Nothing followed yet: a tempo that stays the best for a while is taken,
    // once the estimator has seconds enough to see a bar's repeats.
    // What follows music that stopped (a room's noise) is not taken for
    // music until it is about as loud as the music was.
    if (!heard(estimate.best, estimate) || quiet() ||
        static_cast<double>(history_.size()) < kLeastStartSeconds * onsets_.framesPerSecond()) {
      agreeing_ = 0;
      return;
    }
    if (candidate_ > 0.0 && std::abs(estimate.best.period / candidate_ - 1.0) < kAgreeWithin) ++agreeing_;
    else agreeing_ = 1, heldSince_ = frames_;
    candidate_ = estimate.best.period;
    if (agreeing_ >= (estimate.best.salience >= kClearSalience ? kAgreementsNeeded : kUnclearAgreementsNeeded)) {
      // Held since the first of the updates that agreed on it.
      period_ = candidate_;
      support_ = kStartSupport;
      grid_.dropGrid();
    }
    return;
  }
  follow(estimate);
}

void BeatTracker::follow(const TempoEstimator::Estimate& estimate) {
  const double fps = onsets_.framesPerSecond();
  const TempoEstimator::Candidate& near = estimate.nearCurrent;
  const TempoEstimator::Candidate& best = estimate.best;

  // Outside the estimator's window around the followed tempo: another tempo.
  // Led by the operator, only the tempo near theirs is followed.
  const bool elsewhere = !led_ && best.period > 0.0 &&
                         std::abs(best.period / period_ - 1.0) > TempoEstimator::kNearCurrent &&
                         !related(best.period, period_, kOctaveRatios);
  // A tempo a third off must win metrically, for a while: the prior, which
  // favours whichever lies nearer 120 BPM, has no say between them.
  const bool harmonic = related(best.period, period_, kHarmonicRatios);
  const bool wins = harmonic ? near.period > 0.0 && metricalScore(best) > kChallengeMargin * metricalScore(near)
                             : best.fit * tempoPrior(best.period, fps) > kChallengeMargin * near.fit * tempoPrior(period_, fps);
  if (elsewhere && wins) {
    // The same challenger, or twice or half of it: the best of dense music
    // swings between the levels of one beat.
    if (challenger_ > 0.0 && (std::abs(best.period / challenger_ - 1.0) < kChallengerWithin ||
                              related(best.period, challenger_, kOctaveRatios)))
      ++challenges_;
    else challenges_ = 1;
    challenger_ = best.period;
    // A tempo a third off wins only for longer than a riff suggests it.
    const double held = static_cast<double>(frames_ - heldSince_) / fps;
    const int harmonicNeeded = static_cast<int>(std::clamp(kHeldShareToWin * held, kLeastHarmonicWinSeconds, kMostHarmonicWinSeconds) / kTempoEverySeconds);
    if (challenges_ >= (harmonic ? harmonicNeeded : kChallengesNeeded)) {
      period_ = best.period;
      challenges_ = 0;
      heldSince_ = frames_;
      grid_.dropGrid(true);
      return;
    }
  } else {
    challenges_ = 0;
  }
  if (near.period > 0.0) period_ += kFollowShare * (near.period - period_);
  if (!led_) checkLevel();

  // The followed tempo is supported while it is heard above noise and the
  // best fit agrees with it (or with twice or half of it), or it fits nearly
  // as well as the best (a chorus or a blast that fits another tempo a
  // little better does not take the beat away); once it has lost that
  // support for a while it is let go.
  const bool agrees = best.period > 0.0 && (std::abs(best.period / period_ - 1.0) < kAgreement ||
                                            related(best.period, period_, kOctaveRatios));
  const bool competitive = near.fit >= kCompetitiveFit * best.fit;
  // The operator's tempo needs only to be heard.
  const bool supported = heard(near, estimate) && (agrees || competitive || led_);
  support_ += kSupportFollow * ((supported ? 1.0 : 0.0) - support_);
  if (support_ < kLoseSupport) forget();
}

void BeatTracker::forget() {
  period_ = 0.0;
  led_ = false;
  candidate_ = 0.0;
  agreeing_ = 0;
  support_ = 0.0;
  locked_ = false;
  gone_ = false;
  weakBeats_ = 0;
  emptyBeats_ = 0;
  challenges_ = 0;
  faster_ = slower_ = 0.0;
  grid_.dropGrid();
}

// A level's comb score, weighed by how likely the tempo is and, for the
// faster level of a pair, by how alike its alternate beats are. Once the
// grid has settled, the comb counts less (its square root): a fill or a
// break sways it for the length of its window, while the beats' own
// alternation is a median over beats that a fill hardly moves.
double BeatTracker::levelScore(double period, double alternation) const {
  const double fps = onsets_.framesPerSecond();
  const double alike =
      std::clamp((alternation - kOffBeatAlternation) / (kAlikeAlternation - kOffBeatAlternation), 0.0, 1.0);
  const double bpm = kSecondsPerMinute * fps / period;
  const double fast = std::clamp(std::log2(bpm / kPriorBpm) / std::log2(kHeardSlowerBpm / kPriorBpm), 0.0, 1.0);
  const double comb = tempo_.salienceOf(period);
  return (grid_.beats() < kSettledBeats ? comb : std::sqrt(comb)) * tempoPrior(period, fps) *
         (1.0 - (1.0 - kOffBeatWeight) * (1.0 - alike) * fast);
}

// The followed level against the one twice as fast (its beats the grid's
// beats and off-beats) and the one half as fast (every other beat of the
// grid, the stronger half); the other level is taken once it has won for
// a while.
void BeatTracker::checkLevel() {
  if (!grid_.hasGrid() || grid_.beats() < kLevelBeats) {
    faster_ = slower_ = 0.0;
    return;
  }
  const auto gather = [](double& evidence, double other, double here) {
    const double step = other > 0.0 && here > 0.0
                            ? std::clamp(std::log(other / (kLevelMargin * here)), -kLevelStep, kLevelStep)
                            : -kLevelStep;
    evidence = std::max(0.0, kLevelKept * evidence + step);
  };
  const double here = levelScore(period_, 1.0);
  gather(faster_, period_ / 2 >= tempo_.minPeriod() ? levelScore(period_ / 2, grid_.offBeats()) : 0.0, here);
  const BeatGrid::Alternation alternation = grid_.alternation();
  gather(slower_, 2 * period_ <= tempo_.maxPeriod() ? levelScore(2 * period_, 1.0) : 0.0,
         levelScore(period_, alternation.ratio));
  const double needed = grid_.beats() < kSettledBeats ? kEarlyLevelSwitch : kLevelSwitch;
  if (faster_ >= needed && faster_ >= slower_) {
    period_ /= 2;
    grid_.follow(period_, grid_.expected() - 2 * period_);
  } else if (slower_ >= needed) {
    period_ *= 2;
    grid_.follow(period_, alternation.strongBeat);
  } else {
    return;
  }
  levelUnjudged_ = true;
  faster_ = slower_ = 0.0;
  challenges_ = 0;
  heldSince_ = frames_;
}

// After each beat taken: the confidence and the lock.
void BeatTracker::judge() {
  confidence_ = period_ > 0.0
                    ? static_cast<int>(std::lround(100.0 * support_ * (kIrregularShare + kRegularShare * grid_.regularity())))
                    : 0;
  const bool held = static_cast<double>(frames_ - heldSince_) >= kHeldSeconds * onsets_.framesPerSecond();
  if (confidence_ >= kLockAt && grid_.beats() >= kLockBeats && held) locked_ = true;
  if (confidence_ < kUnlockBelow || (std::popcount(emptyBeats_) >= kEmptyBeatsToStop && !led_)) locked_ = false;
}

void BeatTracker::lead(double periodSamples, double beatSample) {
  if (!(periodSamples > 0.0) || !std::isfinite(beatSample)) return;
  const double hop = onsets_.hop();
  period_ = periodSamples / hop;
  // state() takes a drum's attack off the grid's frames; the operator's beat is what is heard.
  grid_.follow(period_, (beatSample + kAttackSeconds * rate_) / hop);
  grid_.keepPhase();
  support_ = 1.0;
  confidence_ = 100;
  locked_ = led_ = true;
  gone_ = false;
  weakBeats_ = 0;
  challenges_ = 0;
  phaseVotes_ = 0;
  faster_ = slower_ = 0.0;
  heldSince_ = frames_;
}

void BeatTracker::shiftHalf() {
  if (!grid_.hasGrid()) return;
  const double period = grid_.period();
  grid_.follow(period, grid_.expected() - period / 2);
  grid_.keepPhase();
  led_ = true;
  phaseVotes_ = 0;
}

BeatTracker::State BeatTracker::state() const {
  State s;
  const bool following = period_ > 0.0 && grid_.hasGrid();
  s.confidence = following ? confidence_ : 0;
  // Silence for a beat, or the beat gone, stops the beats at once; the grid
  // is kept a while for the music to come back to.
  s.locked = following && locked_ && !gone_ && static_cast<double>(silentFrames_) < grid_.period();
  if (!s.locked) return s;
  const double hop = onsets_.hop();
  s.periodSamples = grid_.period() * hop;
  s.bpm = kSecondsPerMinute * rate_ / s.periodSamples;
  // The grid's beats after the newest sample. Frame f stands for sample
  // f * hop, less the time a drum's attack takes to build the rise the
  // onsets peak on.
  double beat = grid_.expected() * hop - kAttackSeconds * rate_;
  while (beat <= static_cast<double>(samples_)) beat += s.periodSamples;
  for (double& next : s.nextBeats) {
    next = beat;
    beat += s.periodSamples;
  }
  return s;
}

}  // namespace vbvis
