// The beat grid on onset strengths written by hand: which phase it takes,
// and how it follows a tempo that keeps rising.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "bridge/beat_grid.h"

using vbvis::BeatGrid;

namespace {

constexpr double kPeriod = 50.0;  // frames

// Frames from the nearest beat of a grid of `period` frames starting at 0.
double offBeat(double position, double period) {
  const double phase = std::fmod(position, period);
  return std::min(phase, period - phase);
}

// Onsets with a hit at every beat and one more at `second` of each period,
// `louder` times as strong; a little noise between.
BeatGrid play(double second, float louder, int frames = 1500) {
  BeatGrid grid(800);
  for (int n = 0; n < frames; ++n) {
    const int step = n % static_cast<int>(kPeriod);
    float onset = 0.05f;
    if (step == 0) onset = 1.0f;
    if (step == static_cast<int>(std::lround(second * kPeriod))) onset = louder;
    grid.add(onset, kPeriod);
  }
  return grid;
}

}  // namespace

// A shuffle as the onset strength often sees it: the swung eighth comes
// after the longer gap and rises more than the beat.
TEST(BeatGrid, TheSecondNoteOfASwungPairIsNotTakenForTheBeat) {
  for (double swing : {0.6, 0.66}) {
    const BeatGrid grid = play(swing, 1.4f);
    ASSERT_TRUE(grid.hasGrid());
    EXPECT_LT(offBeat(grid.expected(), kPeriod), 2.0) << "swing " << swing;
  }
}

// Straight eighths: the grid goes to the phase that scores clearly better,
// which is how it leaves an off-beat it started on.
TEST(BeatGrid, AClearlyStrongerPhaseIsTakenWhenTheEighthsAreStraight) {
  const BeatGrid grid = play(0.5, 2.0f);
  ASSERT_TRUE(grid.hasGrid());
  EXPECT_LT(offBeat(grid.expected() - 0.5 * kPeriod, kPeriod), 2.0);
}

// A tempo that keeps rising, with the period the grid is given three
// seconds behind it (as a tempo estimate over the last seconds is): the
// beats it expects stay on the played ones instead of trailing them.
TEST(BeatGrid, ARisingTempoIsFollowedWithoutLagging) {
  BeatGrid grid(800);
  std::vector<double> beats{0.0};
  const auto periodAt = [](double frame) { return kPeriod * (1.0 - 0.15 * std::min(1.0, frame / 3000.0)); };
  while (beats.back() < 3500) beats.push_back(beats.back() + periodAt(beats.back()));
  std::vector<double> errors;
  std::size_t next = 0;
  for (int n = 0; n < 3400; ++n) {
    const bool hit = std::any_of(beats.begin(), beats.end(), [&](double b) { return std::lround(b) == n; });
    grid.add(hit ? 1.0f : 0.05f, periodAt(std::max(0, n - 282)));
    while (next < beats.size() && beats[next] < n) ++next;
    if (n > 1500 && grid.hasGrid() && n % 25 == 0) {
      const auto nearest = std::min_element(beats.begin(), beats.end(), [&](double a, double b) {
        return std::abs(a - grid.expected()) < std::abs(b - grid.expected());
      });
      errors.push_back(grid.expected() - *nearest);
    }
  }
  ASSERT_FALSE(errors.empty());
  double mean = 0;
  for (double e : errors) mean += e / static_cast<double>(errors.size());
  EXPECT_LT(std::abs(mean), 0.75) << mean << " frames";
}
