// The plug-in's beat counter: its tempo from the plug-in's beat messages, which come
// on the 75 ms tick (whole click tracks: golden audio_tempo).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "vantorhost/plugin_beats/tempo_fit.h"

using namespace vantorhost;

namespace {

// Beat messages at the first 75 ms tick after each beat, from `firstMs`.
std::vector<std::int64_t> tickedBeats(double bpm, double firstMs, int count) {
  std::vector<std::int64_t> times;
  for (int i = 0; i < count; ++i) {
    const double beat = firstMs + i * 60000.0 / bpm;
    times.push_back((static_cast<std::int64_t>(std::floor(beat / kBeatTickMs)) + 1) * kBeatTickMs);
  }
  return times;
}

}  // namespace

TEST(TempoFit, SeesThroughTheTickAtEveryPhase) {
  for (double bpm : {100.0, 120.0, 128.0, 140.0, 150.0})
    for (double first = 0; first < kBeatTickMs; first += 7.5) {
      const Tempo tempo = fitTempo(tickedBeats(bpm, first, kFitBeats));
      EXPECT_NEAR(tempo.bpm, bpm, 0.5) << bpm << " BPM, first beat at " << first;
      EXPECT_TRUE(tempo.steady) << bpm << " BPM, first beat at " << first;
    }
}

TEST(TempoFit, OneMissedAndOneExtraBeat) {
  std::vector<std::int64_t> times = tickedBeats(128, 30, kFitBeats + 1);
  times.erase(times.begin() + 9);                 // missed
  times.insert(times.begin() + 5, times[4] + 225);  // an extra one between two beats
  EXPECT_NEAR(fitTempo(times).bpm, 128, 0.5);
  // An extra beat close to the grid, as the newest beat.
  times.push_back(times.back() + 469 + 90);
  const Tempo tempo = fitTempo(times);
  EXPECT_NEAR(tempo.bpm, 128, 0.5);
  EXPECT_TRUE(tempo.steady) << "the rest lie on the grid";
}

TEST(TempoFit, UnsteadyWhileFewOrOffTheGrid) {
  EXPECT_FALSE(fitTempo(tickedBeats(120, 0, 2)).known());
  const Tempo few = fitTempo(tickedBeats(120, 0, 4));
  EXPECT_NEAR(few.bpm, 120, 3);
  EXPECT_FALSE(few.steady);
  std::vector<std::int64_t> change = tickedBeats(100, 0, 8);
  for (std::int64_t t : tickedBeats(140, 0, 8)) change.push_back(change.back() + 600 + t);
  EXPECT_FALSE(fitTempo(change).steady);
  // How the tempo reads: the host window's test.
}
