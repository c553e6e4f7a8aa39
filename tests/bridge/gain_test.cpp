// The gain ahead of the analysis, fed in ticks of 75 ms as the plug-in reads
// (noise after the music, and a new source: gain_api_test).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <limits>
#include <vector>

#include "bridge/demo_track.h"
#include "bridge/gain_stage.h"

using vbvis::AutoGain;
using vbvis::GainStage;

namespace {

constexpr int kRate = 48000;
constexpr int kTickFrames = kRate * 75 / 1000;
constexpr double kTickSeconds = 0.075;

// Fills interleaved stereo frames.
using Source = std::function<void(float* stereo, std::size_t frames)>;

// The demo track (a kick on every beat, bass, hats) brought to this RMS;
// as it is made, its RMS is -13.8 dBFS.
Source music(double rmsDb) {
  auto demo = std::make_shared<vbvis::DemoTrack>();
  const float factor = static_cast<float>(std::pow(10.0, (rmsDb + 13.8) / 20.0));
  return [demo, factor](float* stereo, std::size_t frames) {
    demo->read(stereo, frames);
    for (std::size_t i = 0; i < 2 * frames; ++i) stereo[i] *= factor;
  };
}

// White noise of this RMS, the same every run.
Source noise(double rmsDb) {
  auto state = std::make_shared<std::uint32_t>(12345u);
  const double amplitude = std::pow(10.0, rmsDb / 20.0) * std::sqrt(3.0);  // uniform: RMS = a / sqrt(3)
  return [state, amplitude](float* stereo, std::size_t frames) {
    for (std::size_t i = 0; i < 2 * frames; i += 2) {
      *state = *state * 1664525u + 1013904223u;
      stereo[i] = stereo[i + 1] = static_cast<float>(amplitude * (*state / 2147483648.0 - 1.0));
    }
  };
}

Source silence() {
  return [](float* stereo, std::size_t frames) { std::fill(stereo, stereo + 2 * frames, 0.0f); };
}

struct Fed {
  std::vector<double> gains;  // after each tick
  float highestOut = 0.0f;    // highest absolute sample out of the stage
  bool allFinite = true;
};

// `seconds` of `source` through the stage, tick by tick.
Fed feed(GainStage& stage, const Source& source, double seconds) {
  Fed fed;
  std::vector<float> tick(2 * kTickFrames);
  for (int n = 0; n < static_cast<int>(std::lround(seconds / kTickSeconds)); ++n) {
    source(tick.data(), kTickFrames);
    for (const float s : stage.apply(tick, kRate)) {
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
  std::vector<float> tick(2 * kTickFrames);
  music(0)(tick.data(), kTickFrames);
  tick[7] = std::numeric_limits<float>::quiet_NaN();
  tick[9] = std::numeric_limits<float>::infinity();
  const std::vector<float> before = tick;
  for (int round = 0; round < 2; ++round) {
    const std::span<const float> out = stage.apply(tick, kRate);
    EXPECT_EQ(out.data(), tick.data());
    EXPECT_EQ(std::memcmp(out.data(), before.data(), before.size() * sizeof(float)), 0);
    EXPECT_EQ(stage.state().gainDb, 0.0);
    // Back from automatic to a fixed 0 dB: untouched again.
    stage.setAutomatic();
    feed(stage, music(-30), 3);
    stage.setFixed(0.0);
  }
}

// A fixed gain scales the samples, and the stage measures the mono mix's
// RMS on both sides of it: a 1 kHz sine at -40 dBFS peak is at -43 dBFS
// (3 dB under its peak) in and, through +20 dB, at -23 dBFS out.
TEST(GainStage, AFixedGainScalesTheSamplesAndIsMeteredOnBothSides) {
  GainStage stage;
  stage.setFixed(20.0);
  const Source tone = [frame = 0](float* stereo, std::size_t frames) mutable {
    for (std::size_t i = 0; i < frames; ++i, ++frame)
      stereo[2 * i] = stereo[2 * i + 1] = static_cast<float>(0.01 * std::sin(2 * M_PI * 1000 * frame / kRate));
  };
  EXPECT_NEAR(feed(stage, tone, 0.6).highestOut, 0.1, 0.001);
  EXPECT_NEAR(stage.state().inputDb, -43.0, 0.5);
  EXPECT_NEAR(stage.state().outputDb, -23.0, 0.5);
}

// The input steps by 20 dB: a fall is taken up slowly (nothing much in the
// first second) yet within 1 dB of where it ends within 5 s, a rise taken
// down within 0.5 s; neither overshoots, and no sample leaves the stage
// past the headroom on the way.
TEST(AutoGain, StepsAreTakenUpSlowlyAndDownQuicklyWithoutOvershoot) {
  struct Step {
    double fromDb, toDb, settleSeconds;
  };
  for (const Step step : {Step{-20, -40, 5.0}, Step{-40, -20, 0.5}}) {
    GainStage stage = automatic();
    const double before = feed(stage, music(step.fromDb), 20).gains.back();
    const Fed fed = feed(stage, music(step.toDb), 20);
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
    const int beat = static_cast<int>(seconds * kRate);
    std::int64_t frame = 0;
    // A 60 Hz kick over a bed of noise 30 dB under it.
    const Source kicks = [&frame, beat, bed = noise(-45)](float* stereo, std::size_t frames) {
      bed(stereo, frames);
      for (std::size_t i = 0; i < frames; ++i, ++frame) {
        const double t = static_cast<double>(frame % beat) / kRate;
        const auto kick = static_cast<float>(0.1 * std::exp(-t / 0.08) * std::sin(2 * M_PI * 60 * t));
        stereo[2 * i] += kick;
        stereo[2 * i + 1] += kick;
      }
    };
    feed(stage, kicks, 10);
    const std::vector<double> gains = feed(stage, kicks, 20).gains;
    EXPECT_LT(highest(gains) - lowest(gains), 0.5) << seconds;
  }
}

// A pause keeps the gain: the next song starts where the last one stood.
TEST(AutoGain, APauseKeepsTheGainForTheNextSong) {
  GainStage stage = automatic();
  const double before = feed(stage, music(-36), 15).gains.back();
  feed(stage, silence(), 20);
  const std::vector<double> after = feed(stage, music(-36), 1).gains;
  EXPECT_NEAR(after[2], before, 0.5);  // 150 ms in: the gate has opened
  EXPECT_NEAR(lowest(std::vector<double>(after.begin() + 2, after.end())), before, 0.5);
}

// Very loud input stops at -12 dB, a level near the gate at no more than
// 36 dB; the fixed range is the same.
TEST(AutoGain, StaysWithinItsRange) {
  GainStage stage = automatic();
  const Source square = [](float* stereo, std::size_t frames) {
    for (std::size_t i = 0; i < 2 * frames; ++i) stereo[i] = (i / 96) % 2 ? 1.0f : -1.0f;
  };
  const double loudest = lowest(feed(stage, square, 5).gains);
  EXPECT_GE(loudest, AutoGain::kMinDb);
  EXPECT_NEAR(loudest, AutoGain::kMinDb, 0.01);
  for (const double db : {-44.0, -46.5}) EXPECT_LE(highest(feed(stage, noise(db), 30).gains), AutoGain::kMaxDb);
}

// Samples that are NaN or infinite count as silence: the gain and what
// leaves the stage stay as for the clean audio.
TEST(AutoGain, DamagedSamplesDoNotPoisonTheGain) {
  GainStage clean = automatic(), damaged = automatic();
  const Source good = music(-30);
  std::int64_t n = 0;
  const Source bad = [source = music(-30), &n](float* stereo, std::size_t frames) {
    source(stereo, frames);
    for (std::size_t i = 0; i < 2 * frames; ++i, ++n)
      if (n % 1009 == 0) stereo[i] = n % 2 ? std::numeric_limits<float>::infinity() : std::nanf("");
  };
  const Fed a = feed(clean, good, 15), b = feed(damaged, bad, 15);
  EXPECT_TRUE(b.allFinite);
  EXPECT_NEAR(b.gains.back(), a.gains.back(), 0.5);
  // A whole tick of nothing but damage is a tick of silence.
  const Source broken = [](float* stereo, std::size_t frames) {
    std::fill(stereo, stereo + 2 * frames, std::numeric_limits<float>::quiet_NaN());
  };
  GainStage same = damaged;
  EXPECT_TRUE(feed(damaged, broken, 0.075).allFinite);
  feed(same, silence(), 0.075);
  EXPECT_EQ(damaged.state().gainDb, same.state().gainDb);
  EXPECT_EQ(damaged.state().inputDb, same.state().inputDb);
}
