// The beat grid on onset strengths written by hand (the phase it takes on
// patterns: beat_tracker_test).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "bridge/beat/beat_grid.h"

using vbvis::BeatGrid;

constexpr double kPeriod = 50.0;  // frames

// A rising tempo, the period given three seconds behind it (as an estimate
// over the last seconds is): the expected beats stay on the played ones.
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
