#pragma once
// A deterministic drum machine for the beat tracker's tests, rendered as
// interleaved stereo: the same song always gives the same samples.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace drum_machine {

struct Song {
  double bpm = 120.0;
  double seconds = 20.0;
  // One bar of 16 steps per voice ('x' a hit, 'X' an accent half as loud
  // again, 'g' a ghost note at 40 %, '.' none).
  std::string kick = "x...x...x...x...";
  std::string snare{};
  std::string hats{};
  std::string clicks{};
  std::string bass{};        // a low note that rings on under the next
  double swing = 0.5;        // where the second note of a swung pair falls (0.5 straight, 0.66 a shuffle)
  int swingSteps = 2;        // sixteenths per note of a swung pair: 2 swings eighths, 1 sixteenths
  double changeAt = 0.0;     // seconds: from the next beat on, the tempo is bpmAfter
  double bpmAfter = 0.0;
  double jitterMs = 0.0;
  double gain = 0.3;         // of each hit
  double hatsGain = 1.0;     // the hats' level against the other voices
  int rate = 44100;
};

// Uniform in -1..1 from an index (a small integer hash).
inline double noise(std::uint64_t index) {
  std::uint64_t x = index * 0x9E3779B97F4A7C15ull;
  x ^= x >> 29;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 32;
  return static_cast<double>(x >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

inline double kick(double t) {
  const double phase = 2 * std::numbers::pi * (50.0 * t + 100.0 * 0.03 * (1.0 - std::exp(-t / 0.03)));
  return std::exp(-t / 0.15) * std::sin(phase);
}
inline double snare(double t, std::uint64_t i) {
  return 0.6 * std::exp(-t / 0.06) * noise(i) + 0.4 * std::exp(-t / 0.08) * std::sin(2 * std::numbers::pi * 190 * t);
}
inline double hat(double t, std::uint64_t i) { return 0.7 * std::exp(-t / 0.015) * (noise(i) - noise(i - 1)); }
inline double click(double t) { return t < 0.002 ? (std::fmod(t * 1000.0, 1.0) < 0.5 ? 1.0 : -1.0) : 0.0; }
inline double bass(double t) {
  return 0.8 * (1.0 - std::exp(-t / 0.004)) * std::exp(-t / 0.5) * std::sin(2 * std::numbers::pi * 62 * t);
}

// The beat times (seconds) of a song: the first beat at 0.25 s.
inline std::vector<double> beats(const Song& song) {
  std::vector<double> out;
  double t = 0.25, bpm = song.bpm;
  while (t < song.seconds + 2.0) {
    if (song.changeAt > 0 && t >= song.changeAt) bpm = song.bpmAfter;
    out.push_back(t);
    t += 60.0 / bpm;
  }
  return out;
}

// How far `t` (seconds) lies from the nearest of the beats `truth`.
inline double offBeat(double t, const std::vector<double>& truth) {
  double nearest = std::numeric_limits<double>::infinity();
  for (double beat : truth) nearest = std::min(nearest, std::abs(beat - t));
  return nearest;
}

inline std::vector<float> render(const Song& song) {
  const std::size_t frames = static_cast<std::size_t>(song.seconds * song.rate);
  std::vector<double> mono(frames, 0.0);
  const std::vector<double> grid = beats(song);
  std::uint64_t seed = 1;
  const auto place = [&](double at, char mark, auto voice) {
    const double gain = song.gain * (mark == 'X' ? 1.5 : mark == 'g' ? 0.4 : 1.0);
    const double jitter = song.jitterMs / 1000.0 * noise(seed++);
    const std::int64_t start = std::llround((at + jitter) * song.rate);
    for (std::int64_t i = std::max<std::int64_t>(0, start); i < start + song.rate / 2 && i < static_cast<std::int64_t>(frames); ++i)
      mono[static_cast<std::size_t>(i)] += gain * voice(static_cast<double>(i - start) / song.rate, static_cast<std::uint64_t>(i));
  };
  for (std::size_t b = 0; b + 1 < grid.size(); ++b) {
    const double length = grid[b + 1] - grid[b];
    for (int step = 0; step < 4; ++step) {
      const std::size_t s = (b % 4) * 4 + static_cast<std::size_t>(step);
      // The second note of a swung pair falls late.
      const bool second = step % (2 * song.swingSteps) == song.swingSteps;
      const double at = grid[b] + (step + (second ? (song.swing - 0.5) * 2 * song.swingSteps : 0.0)) * length / 4;
      if (at >= song.seconds) break;
      const auto mark = [&](const std::string& line) { return s < line.size() ? line[s] : '.'; };
      const auto play = [&](const std::string& line, auto voice) {
        if (mark(line) != '.') place(at, mark(line), voice);
      };
      play(song.kick, [](double t, std::uint64_t) { return kick(t); });
      play(song.snare, [](double t, std::uint64_t i) { return snare(t, i); });
      play(song.hats, [&](double t, std::uint64_t i) { return song.hatsGain * hat(t, i); });
      play(song.clicks, [](double t, std::uint64_t) { return click(t); });
      play(song.bass, [](double t, std::uint64_t) { return bass(t); });
    }
  }
  std::vector<float> stereo(2 * frames);
  for (std::size_t i = 0; i < frames; ++i) stereo[2 * i] = stereo[2 * i + 1] = static_cast<float>(mono[i]);
  return stereo;
}

// Pink noise (white noise through a few first-order filters), RMS about `rms`.
inline std::vector<float> pinkNoise(double seconds, double rms, int rate = 44100) {
  const std::size_t frames = static_cast<std::size_t>(seconds * rate);
  std::vector<float> stereo(2 * frames);
  double b0 = 0, b1 = 0, b2 = 0;
  for (std::size_t i = 0; i < frames; ++i) {
    const double white = noise(i + 12345);
    b0 = 0.99765 * b0 + white * 0.0990460;
    b1 = 0.96300 * b1 + white * 0.2965164;
    b2 = 0.57000 * b2 + white * 1.0526913;
    const double pink = (b0 + b1 + b2 + white * 0.1848) * 0.11;
    stereo[2 * i] = stereo[2 * i + 1] = static_cast<float>(pink * rms / 0.12);
  }
  return stereo;
}

// A fast compressor (2 ms attack, 80 ms release) as loud masters use: the
// hits flattened, what follows brought up.
inline void compress(std::vector<float>& stereo, double thresholdDb, double ratio, int rate = 44100) {
  const double attack = 1.0 - std::exp(-1.0 / (0.002 * rate)), release = 1.0 - std::exp(-1.0 / (0.08 * rate));
  const double threshold = std::pow(10.0, thresholdDb / 20.0);
  double envelope = 0.0;
  for (std::size_t i = 0; i + 1 < stereo.size(); i += 2) {
    const double level = std::max(std::abs(stereo[i]), std::abs(stereo[i + 1]));
    envelope += (level > envelope ? attack : release) * (level - envelope);
    const double gain = envelope > threshold ? std::pow(envelope / threshold, 1.0 / ratio - 1.0) : 1.0;
    stereo[i] = static_cast<float>(stereo[i] * gain);
    stereo[i + 1] = static_cast<float>(stereo[i + 1] * gain);
  }
}

// Scales samples to an RMS level in dBFS.
inline void toLevel(std::vector<float>& stereo, double dbfs) {
  double squares = 0;
  for (float s : stereo) squares += static_cast<double>(s) * s;
  const double scale = std::pow(10.0, dbfs / 20.0) / std::sqrt(squares / static_cast<double>(stereo.size()));
  for (float& s : stereo) s = static_cast<float>(s * scale);
}

}  // namespace drum_machine
