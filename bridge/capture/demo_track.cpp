#include "bridge/capture/demo_track.h"

#include <cmath>
#include <numbers>

namespace vbvis {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kEighthFrames = DemoTrack::kBeatFrames / 2;

// A kick: a sine falling from 150 Hz to 50 Hz within a few tens of
// milliseconds, its phase integrated in closed form.
double kick(double t) {
  constexpr double sweep = 0.03;
  const double phase = kTwoPi * (50.0 * t + 100.0 * sweep * (1.0 - std::exp(-t / sweep)));
  return 0.7 * std::exp(-t / 0.15) * std::sin(phase);
}

// Two bars of eighth notes (A1, A1, C2, A1, E2, A1, G1, C2 ...), in Hz.
constexpr double kBassNotes[16] = {55.0, 55.0, 65.41, 55.0, 82.41, 55.0, 49.0, 65.41,
                                   55.0, 55.0, 65.41, 73.42, 82.41, 73.42, 65.41, 49.0};

double bass(double t, int note) {
  const double f = kBassNotes[note % 16];
  const double tone = std::sin(kTwoPi * f * t) + 0.3 * std::sin(kTwoPi * 2.0 * f * t);
  return 0.22 * std::exp(-t / 0.12) * tone;
}

// White noise from the frame index (a small integer hash), -1..1.
double noise(std::int64_t index) {
  std::uint64_t x = static_cast<std::uint64_t>(index) * 0x9E3779B97F4A7C15ull;
  x ^= x >> 29;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 32;
  return static_cast<double>(x >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

// A closed hat: high-passed noise (the difference of neighbours) that dies
// away within a few milliseconds.
double hat(double t, std::int64_t index) { return 0.12 * std::exp(-t / 0.012) * (noise(index) - noise(index - 1)); }

}  // namespace

void DemoTrack::frame(std::int64_t index, float& left, float& right) {
  const std::int64_t intoBeat = index % kBeatFrames;
  const std::int64_t intoEighth = index % kEighthFrames;
  const int eighth = static_cast<int>((index / kEighthFrames) % 16);
  const double tBeat = static_cast<double>(intoBeat) / kRate;
  const double tEighth = static_cast<double>(intoEighth) / kRate;
  const double centre = kick(tBeat) + bass(tEighth, eighth);
  // Hats fall on the off-beats: the second eighth of each beat.
  const double hats = (eighth % 2 == 1) ? hat(tEighth, index) : 0.0;
  left = static_cast<float>(centre + 0.7 * hats);
  right = static_cast<float>(centre + hats);
}

void DemoTrack::read(float* stereo, std::size_t frames) {
  for (std::size_t i = 0; i < frames; ++i) frame(position_++, stereo[2 * i], stereo[2 * i + 1]);
}

}  // namespace vbvis
