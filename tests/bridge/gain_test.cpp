// The gain ahead of the analysis, fed in ticks of 75 ms as the plug-in reads
// (the C functions: bridge_test, goldens audio_gain_auto and audio_gain_kept).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <vector>

#include "bridge/gain/gain_stage.h"
#include "tests/bridge/drum_machine.h"

using vbvis::AutoGain;
using vbvis::GainStage;
using vbvis::LevelHistory;

namespace {

constexpr int kRate = 48000;
constexpr std::size_t kTickFrames = kRate * 75 / 1000;
constexpr double kTickSeconds = 0.075;

std::size_t samples(double seconds) { return 2 * static_cast<std::size_t>(seconds * kRate); }

// `seconds` of music at 120 BPM from its first beat, or of white noise, at this RMS.
std::vector<float> music(double rmsDb, double seconds) {
  std::vector<float> audio = drum_machine::render({.bpm = 120, .seconds = seconds + 0.25, .kick = "x...x...x...x...",
                                                   .snare = "....x.......x...", .hats = "x.x.x.x.x.x.x.x.",
                                                   .bass = "x.......x.......", .rate = kRate});
  audio.erase(audio.begin(), audio.begin() + static_cast<std::ptrdiff_t>(samples(0.25)));
  drum_machine::toLevel(audio, rmsDb);
  return audio;
}
std::vector<float> noise(double rmsDb, double seconds) {
  std::vector<float> audio(samples(seconds));
  for (std::size_t i = 0; i < audio.size(); i += 2) audio[i] = audio[i + 1] = static_cast<float>(drum_machine::noise(i));
  drum_machine::toLevel(audio, rmsDb);
  return audio;
}

struct Fed {
  std::vector<double> gains;  // after each tick
  float highestOut = 0.0f;    // highest absolute sample out of the stage
  bool allFinite = true;
};

// The audio through the stage, tick by tick.
Fed feed(GainStage& stage, std::span<const float> audio) {
  Fed fed;
  for (std::size_t at = 0; at + 2 * kTickFrames <= audio.size(); at += 2 * kTickFrames) {
    for (const float s : stage.apply(audio.subspan(at, 2 * kTickFrames), kRate)) {
      fed.allFinite = fed.allFinite && std::isfinite(s);
      fed.highestOut = std::max(fed.highestOut, std::fabs(s));
    }
    fed.gains.push_back(stage.state().gainDb);
  }
  return fed;
}

GainStage automatic() {
  GainStage stage;
  stage.setAutomatic();
  return stage;
}

// Seconds from the start until the gains stay within `within` dB of `target`.
double settleSeconds(const std::vector<double>& gains, double target, double within = 1.0) {
  std::size_t settled = 0;
  for (std::size_t i = 0; i < gains.size(); ++i)
    if (std::fabs(gains[i] - target) > within) settled = i + 1;
  return static_cast<double>(settled + 1) * kTickSeconds;
}

double highest(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }
double lowest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace

// Fixed at 0 dB the stage hands back the very samples it got, damaged ones
// included: every golden trace depends on it.
TEST(GainStage, FixedZeroDecibelsLeavesTheSamplesUntouched) {
  GainStage stage;
  std::vector<float> audio = music(-10, 1.0);
  audio[7] = std::numeric_limits<float>::quiet_NaN();
  audio[9] = std::numeric_limits<float>::infinity();
  const std::vector<float> before = audio;
  for (int round = 0; round < 2; ++round) {
    const std::span<const float> out = stage.apply(audio, kRate);
    EXPECT_EQ(out.data(), audio.data());
    EXPECT_EQ(std::memcmp(out.data(), before.data(), before.size() * sizeof(float)), 0);
    EXPECT_EQ(stage.state().gainDb, 0.0);
    // Back from automatic to a fixed 0 dB: untouched again.
    stage.setAutomatic();
    feed(stage, music(-30, 3));
    stage.setFixed(0.0);
  }
}

// A 1 kHz sine at -40 dBFS peak: -43 dBFS RMS in, -23 dBFS out through +20 dB.
TEST(GainStage, AFixedGainScalesTheSamplesAndIsMeteredOnBothSides) {
  GainStage stage;
  stage.setFixed(20.0);
  std::vector<float> tone(samples(0.6));
  for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<float>(0.01 * std::sin(M_PI * 1000 * (i - i % 2) / kRate));
  EXPECT_NEAR(feed(stage, tone).highestOut, 0.1, 0.001);
  EXPECT_NEAR(stage.state().inputDb, -43.0, 0.5);
  EXPECT_NEAR(stage.state().outputDb, -23.0, 0.5);
}

// 20 dB steps: a fall taken up slowly but within 5 s, a rise down within
// 0.5 s; no overshoot, no sample past the headroom.
TEST(AutoGain, StepsAreTakenUpSlowlyAndDownQuicklyWithoutOvershoot) {
  struct Step {
    double fromDb, toDb, settleSeconds;
  };
  for (const Step step : {Step{-20, -40, 5.0}, Step{-40, -20, 0.5}}) {
    GainStage stage = automatic();
    const double before = feed(stage, music(step.fromDb, 20)).gains.back();
    const Fed fed = feed(stage, music(step.toDb, 20));
    const double target = fed.gains.back();
    const bool up = step.toDb < step.fromDb;
    EXPECT_NEAR(target - before, step.fromDb - step.toDb, 1.0) << step.toDb;
    // Not up within a second (a gain coming down passes this anyway).
    EXPECT_LT(fed.gains[static_cast<std::size_t>(1.0 / kTickSeconds)] - before, 3.0) << step.toDb;
    EXPECT_LE(settleSeconds(fed.gains, target), step.settleSeconds) << step.toDb;
    EXPECT_LE(up ? highest(fed.gains) - target : target - lowest(fed.gains), 3.0) << step.toDb;
    EXPECT_LE(fed.highestOut, std::pow(10.0, -AutoGain::kHeadroomDb / 20.0) * 1.001) << step.toDb;
  }
}

// Steady music settles and then stands still: no pumping on the kicks, at
// 120 BPM and at a tempo whose beat does not fit the windows.
TEST(AutoGain, SteadyKicksDoNotPump) {
  for (const double seconds : {0.5, 1.3}) {
    GainStage stage = automatic();
    // A kick on every beat over a bed of noise at -45 dBFS.
    std::vector<float> kicks = drum_machine::render({.bpm = 60 / seconds, .seconds = 30, .gain = 0.1, .rate = kRate});
    const std::vector<float> bed = noise(-45, 30);
    for (std::size_t i = 0; i < kicks.size(); ++i) kicks[i] += bed[i];
    feed(stage, std::span(kicks).first(samples(10)));
    const std::vector<double> gains = feed(stage, std::span(kicks).subspan(samples(10))).gains;
    EXPECT_LT(highest(gains) - lowest(gains), 0.5) << seconds;
  }
}

// A pause keeps the gain: the next song starts where the last one stood.
TEST(AutoGain, APauseKeepsTheGainForTheNextSong) {
  GainStage stage = automatic();
  const double before = feed(stage, music(-36, 15)).gains.back();
  feed(stage, std::vector<float>(samples(20)));
  const std::vector<double> after = feed(stage, music(-36, 1)).gains;
  EXPECT_NEAR(after[2], before, 0.5);  // 150 ms in: the gate has opened
  EXPECT_NEAR(lowest(std::vector<double>(after.begin() + 2, after.end())), before, 0.5);
}

// A quiet player's beats swing the level where a noise floor stays steady:
// the player is followed down to -60 dBFS and beyond, white and pink noise
// at the same levels are not (a gate at -50 once left a -60 dBFS player dark).
TEST(AutoGain, AQuietPlayerIsFollowedAndASteadyNoiseFloorIsNot) {
  for (const double db : {-49.0, -60.0, -66.0}) {
    GainStage stage = automatic();
    const Fed fed = feed(stage, music(db, 20));
    const double wanted = std::min(AutoGain::kMaxDb, AutoGain::kReferenceDb - db);
    EXPECT_LE(settleSeconds(fed.gains, wanted, 3.0), 8.0) << db;
    if (db > LevelHistory::kGateCloseDb) continue;  // noise that loud is taken as music
    for (const std::vector<float>& floor : {noise(db, 20), drum_machine::pinkNoise(20, 0.1, kRate)}) {
      std::vector<float> after = floor;
      drum_machine::toLevel(after, db);
      GainStage alone = automatic(), behind = stage;
      EXPECT_EQ(highest(feed(alone, after).gains), 0.0) << db;
      const std::vector<double> gains = feed(behind, after).gains;
      EXPECT_EQ(highest(std::vector<double>(gains.begin() + static_cast<std::ptrdiff_t>(5.0 / kTickSeconds), gains.end())),
                0.0) << db;
    }
  }
}

// Sparse clicks (an intro): the gain stands still through the gaps, and a
// click peaking at -4.7 dBFS gets at most the 3.7 dB that keep it 1 dB under full scale.
TEST(AutoGain, SparseClicksGainSmoothlyUnderThePeakRule) {
  for (const double bpm : {30.0, 60.0, 70.0}) {
    std::vector<float> clicks(samples(40));
    const double period = 60.0 / bpm, peak = std::pow(10.0, -4.7 / 20.0);
    for (std::size_t i = 0; i < clicks.size(); i += 2)
      clicks[i] = clicks[i + 1] = static_cast<float>(peak * drum_machine::click(std::fmod(i / 2.0 / kRate, period)));
    GainStage stage = automatic();
    stage.setFixed(AutoGain::kMaxDb);
    stage.setAutomatic();  // from far above: the peaks take it down
    const Fed fed = feed(stage, clicks);
    const std::vector<double> settled(fed.gains.begin() + static_cast<std::ptrdiff_t>(10.0 / kTickSeconds), fed.gains.end());
    EXPECT_LE(highest(settled), 3.7 + 0.01) << bpm;
    for (std::size_t i = 1; i < settled.size(); ++i) ASSERT_LT(std::fabs(settled[i] - settled[i - 1]), 0.5) << bpm << " BPM at " << i;
    EXPECT_LE(fed.highestOut, std::pow(10.0, -AutoGain::kHeadroomDb / 20.0) * 1.001) << bpm;
  }
}

// Very loud input stops at -12 dB, a level near the gate at 36 dB.
TEST(AutoGain, StaysWithinItsRange) {
  GainStage stage = automatic();
  std::vector<float> square(samples(5));
  for (std::size_t i = 0; i < square.size(); ++i) square[i] = (i / 96) % 2 ? 1.0f : -1.0f;
  const double loudest = lowest(feed(stage, square).gains);
  EXPECT_GE(loudest, AutoGain::kMinDb);
  EXPECT_NEAR(loudest, AutoGain::kMinDb, 0.01);
  for (const double db : {-44.0, -46.5}) EXPECT_LE(highest(feed(stage, noise(db, 30)).gains), AutoGain::kMaxDb);
}

// NaN and infinite samples count as silence.
TEST(AutoGain, DamagedSamplesDoNotPoisonTheGain) {
  GainStage clean = automatic(), damaged = automatic();
  std::vector<float> audio = music(-30, 15);
  const Fed a = feed(clean, audio);
  for (std::size_t i = 0; i < audio.size(); i += 1009) audio[i] = i % 2 ? std::numeric_limits<float>::infinity() : std::nanf("");
  const Fed b = feed(damaged, audio);
  EXPECT_TRUE(b.allFinite);
  EXPECT_NEAR(b.gains.back(), a.gains.back(), 0.5);
  // A whole tick of nothing but damage is a tick of silence.
  GainStage same = damaged;
  EXPECT_TRUE(feed(damaged, std::vector<float>(2 * kTickFrames, std::nanf(""))).allFinite);
  feed(same, std::vector<float>(2 * kTickFrames));
  EXPECT_EQ(damaged.state().gainDb, same.state().gainDb);
  EXPECT_EQ(damaged.state().inputDb, same.state().inputDb);
}
