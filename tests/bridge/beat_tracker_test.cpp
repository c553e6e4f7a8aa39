// The beat tracker fed in 10 ms pieces against the known beats (the hands on
// music: goldens beats_tap and beats_nudge_music).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "bridge/beat/beat_tracker.h"
#include "tests/bridge/drum_machine.h"

using drum_machine::Song;
using vbvis::BeatTracker;

namespace {

struct Moment {
  double seconds;
  BeatTracker::State state;
};

// The state after every 10 ms piece.
std::vector<Moment> follow(const std::vector<float>& stereo, int rate = 44100) {
  BeatTracker tracker(rate);
  std::vector<Moment> moments;
  const std::size_t piece = static_cast<std::size_t>(rate / 100);
  for (std::size_t frame = 0; frame < stereo.size() / 2; frame += piece) {
    const std::size_t count = std::min(piece, stereo.size() / 2 - frame);
    tracker.push(std::span<const float>(stereo).subspan(2 * frame, 2 * count));
    moments.push_back({static_cast<double>(tracker.samples()) / rate, tracker.state()});
  }
  return moments;
}

// Locked at the tempo of the beat in force (within 2 %) with every predicted
// beat within 20 ms of a true one.
bool onTheBeat(const BeatTracker::State& s, const std::vector<double>& truth, double bpm, int rate = 44100) {
  if (!s.locked || std::abs(s.bpm / bpm - 1.0) > 0.02) return false;
  return std::all_of(s.nextBeats.begin(), s.nextBeats.end(), [&](double beat) {
    // Past the song's end nothing is known.
    return beat / rate > truth.back() - 2.0 || drum_machine::offBeat(beat / rate, truth) <= 0.020;
  });
}

// True when the tracker is on the beat from `from` seconds to the end.
::testing::AssertionResult onTheBeatFrom(const std::vector<Moment>& moments, const std::vector<double>& truth,
                                         double bpm, double from) {
  for (const Moment& m : moments)
    if (m.seconds >= from && !onTheBeat(m.state, truth, bpm))
      return ::testing::AssertionFailure() << "at " << m.seconds << " s: locked " << m.state.locked << ", "
                                           << m.state.bpm << " BPM, next beat " << m.state.nextBeats[0] / 44100.0
                                           << " s (true tempo " << bpm << ")";
  return ::testing::AssertionSuccess();
}

const std::string kRockKick = "x.......x.x.....", kBackbeat = "....x.......x...", kEighths = "x.x.x.x.x.x.x.x.";

Song rock(double bpm) { return Song{.bpm = bpm, .kick = kRockKick, .snare = kBackbeat, .hats = kEighths, .jitterMs = 6}; }

}  // namespace

// On the beat within 8 s (10 s compressed), not on the bar, the off-beat, a
// swung eighth, double or half the tempo.
TEST(BeatTracker, LocksOnTheBeatOfEachPattern) {
  struct Case {
    const char* what;
    Song song;
    double levelDb = 0.0;   // RMS in dBFS, 0: as rendered
    bool compressed = false;  // hard, as loud masters are
  };
  Song loudHats = rock(92);
  loudHats.hatsGain = 4.0;
  for (const Case& c : {
           Case{"a steady click track", Song{.bpm = 120, .kick = "", .clicks = "x...x...x...x..."}},
           Case{"a drum pattern with jitter", rock(104)},
           Case{"quiet music", rock(116), -40.0},
           Case{"moderate music", rock(116), -26.0},
           Case{"loud music", rock(116), -6.0},
           Case{"strong hats on every eighth, not double the tempo", loudHats},
           Case{"kick on 1, snare on 2 and 4, hats off the beat: not the bar, not the off-beat",
                Song{.bpm = 112, .kick = "x...............", .snare = kBackbeat, .hats = "..x...x...x...x.", .jitterMs = 6}},
           Case{"a half-time feel at 125 (kick on 1, snare on 3), not 62.5",
                Song{.bpm = 125, .kick = "x.........x.....", .snare = "........x.......", .hats = kEighths, .jitterMs = 6}},
           // The swung eighth, after the longer gap, rises more than the note
           // on the beat that comes while it still rings.
           Case{"a compressed shuffle whose bass plays every swung eighth",
                Song{.bpm = 104, .seconds = 30, .kick = kRockKick, .snare = kBackbeat, .hats = kEighths,
                     .bass = kEighths, .swing = 0.66, .jitterMs = 6},
                -12.0, true},
           // At 160 the comb fits as well, but every other beat would be no
           // stronger than an off-beat.
           Case{"half-time hip-hop at 80 with swung sixteenths, not 160",
                Song{.bpm = 80, .seconds = 30, .kick = "X.....x..xX.....", .snare = "....X.......X...",
                     .hats = "xgxgxgxgxgxgxgxg", .bass = "x...x...x.x.x...", .swing = 0.58, .swingSteps = 1,
                     .jitterMs = 6},
                -12.0, true}}) {
    std::vector<float> audio = drum_machine::render(c.song);
    if (c.compressed) drum_machine::compress(audio, -30, 4);
    if (c.levelDb != 0.0) drum_machine::toLevel(audio, c.levelDb);
    EXPECT_TRUE(onTheBeatFrom(follow(audio), drum_machine::beats(c.song), c.song.bpm, c.compressed ? 10.0 : 8.0)) << c.what;
  }
}

TEST(BeatTracker, AfterATempoChangeItIsOnTheNewBeatWithin8s) {
  Song song = rock(100);
  song.seconds = 32;
  song.changeAt = 14;
  song.bpmAfter = 124;
  const std::vector<Moment> moments = follow(drum_machine::render(song));
  const std::vector<double> truth = drum_machine::beats(song);
  const double change = *std::lower_bound(truth.begin(), truth.end(), 14.0);
  // Before the change, as long as the predictions all lie before it.
  EXPECT_TRUE(onTheBeatFrom(std::vector<Moment>(moments.begin(), moments.begin() + 1100), truth, 100, 8.0));
  EXPECT_TRUE(onTheBeatFrom(moments, truth, 124, change + 8.0));
}

TEST(BeatTracker, SilenceSteadyNoiseAndPinkNoiseGiveNoBeats) {
  std::vector<float> audio(2 * 44100 * 10, 0.0f);
  std::vector<float> pink = drum_machine::pinkNoise(20, 0.1);
  audio.insert(audio.end(), pink.begin(), pink.end());
  // A steady hum with its harmonics.
  for (int i = 0; i < 44100 * 10; ++i) {
    const float hum = static_cast<float>(0.2 * std::sin(2 * M_PI * 100 * i / 44100.0) + 0.05 * std::sin(2 * M_PI * 300 * i / 44100.0));
    audio.insert(audio.end(), {hum, hum});
  }
  const std::vector<Moment> moments = follow(audio);
  EXPECT_TRUE(std::none_of(moments.begin(), moments.end(), [](const Moment& m) { return m.state.locked; }));
}

TEST(BeatTracker, NonFiniteSamplesDoNotPoisonIt) {
  const Song song = rock(108);
  std::vector<float> audio = drum_machine::render(song);
  for (std::size_t i = 2 * 44100 * 3; i < 2 * 44100 * 3 + 4000; ++i)
    audio[i] = i % 3 == 0 ? std::numeric_limits<float>::quiet_NaN()
                          : (i % 3 == 1 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity());
  audio[2 * 44100 * 5] = std::numeric_limits<float>::max();
  const std::vector<Moment> moments = follow(audio);
  for (const Moment& m : moments) {
    ASSERT_TRUE(std::isfinite(m.state.bpm));
    for (double beat : m.state.nextBeats) ASSERT_TRUE(std::isfinite(beat));
  }
  EXPECT_TRUE(onTheBeatFrom(moments, drum_machine::beats(song), 108, 10.0));
}

// Pieces of any size give the same result: the tracker sees a stream.
TEST(BeatTracker, HowTheAudioIsCutDoesNotMatter) {
  const std::vector<float> audio = drum_machine::render(rock(126));
  BeatTracker whole(44100), pieces(44100);
  whole.push(audio);
  for (std::size_t frame = 0, size = 1; frame < audio.size() / 2; frame += size, size = size * 7 % 3001 + 1) {
    const std::size_t count = std::min(size, audio.size() / 2 - frame);
    pieces.push(std::span<const float>(audio).subspan(2 * frame, 2 * count));
  }
  EXPECT_EQ(whole.state().nextBeats, pieces.state().nextBeats);
  EXPECT_TRUE(whole.state().locked);
}
