#include "vantorhost/plugin_beats/tempo_fit.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vantorhost {

namespace {

// A beat on the grid: its line number (the newest beat's is 0) and time.
struct GridBeat {
  double line;
  double timeMs;
};

struct Grid {
  std::array<GridBeat, kFitBeats> beats{};
  int size = 0;
};

// A timer that runs on the real clock wanders a few milliseconds.
constexpr double kTimerSlackMs = 5;

double medianGap(std::span<const std::int64_t> times) {
  std::array<std::int64_t, kFitBeats> gaps{};
  const std::size_t n = times.size() - 1;
  for (std::size_t i = 0; i < n; ++i) gaps[i] = times[i + 1] - times[i];
  std::nth_element(gaps.begin(), gaps.begin() + static_cast<long>(n / 2), gaps.begin() + static_cast<long>(n));
  return static_cast<double>(gaps[n / 2]);
}

// Walks back from beat `from` and keeps each older beat that lies a whole
// number of periods (within a quarter) before the beat kept last; the others
// are extra beats. Two periods between kept beats are a missed one.
Grid gridFrom(std::span<const std::int64_t> times, std::size_t from, double period) {
  Grid grid;
  double line = 0, previous = static_cast<double>(times[from]);
  grid.beats[static_cast<std::size_t>(grid.size++)] = {line, previous};
  for (std::size_t i = from; i-- > 0;) {
    const double gap = previous - static_cast<double>(times[i]);
    const double periods = std::round(gap / period);
    if (periods < 1 || std::abs(gap - periods * period) > period / 4) continue;
    line -= periods;
    previous = static_cast<double>(times[i]);
    grid.beats[static_cast<std::size_t>(grid.size++)] = {line, previous};
  }
  return grid;
}

// How far the beats stray from the grid of `period` (the latest beat less
// the earliest, each measured from its line), leaving out beat `skip`.
double spread(const Grid& grid, double period, int skip) {
  double low = INFINITY, high = -INFINITY;
  for (int i = 0; i < grid.size; ++i) {
    if (i == skip) continue;
    const GridBeat& b = grid.beats[static_cast<std::size_t>(i)];
    const double offset = b.timeMs - b.line * period;
    low = std::min(low, offset);
    high = std::max(high, offset);
  }
  return high - low;
}

// The period whose grid the beats stray from least. The spread is convex in
// the period, so a ternary search finds it.
double tightestPeriod(const Grid& grid, double guess, int skip) {
  double low = guess / 2, high = guess * 2;
  for (int step = 0; step < 100; ++step) {
    const double a = low + (high - low) / 3, b = high - (high - low) / 3;
    if (spread(grid, a, skip) < spread(grid, b, skip)) high = b;
    else low = a;
  }
  return (low + high) / 2;
}

// The middle of the periods that keep every beat within `width` after its
// grid line; `fallback` when rounding leaves none.
double middlePeriod(const Grid& grid, double width, int skip, double fallback) {
  double low = 0, high = INFINITY;
  for (int i = 0; i < grid.size; ++i) {
    for (int j = 0; j < grid.size; ++j) {
      const GridBeat &a = grid.beats[static_cast<std::size_t>(i)], &b = grid.beats[static_cast<std::size_t>(j)];
      if (i == skip || j == skip || b.line <= a.line) continue;
      const double lines = b.line - a.line, gap = b.timeMs - a.timeMs;
      low = std::max(low, (gap - width) / lines);
      high = std::min(high, (gap + width) / lines);
    }
  }
  return low <= high ? (low + high) / 2 : fallback;
}

struct Fit {
  double period;
  bool onGrid;
};

// The period of the grid, leaving out the one beat (an extra one close to
// the grid) whose absence brings the others onto it, if any does.
Fit fitGrid(const Grid& grid, double guess) {
  int skip = -1;
  double period = tightestPeriod(grid, guess, skip);
  double strayMs = spread(grid, period, skip);
  if (strayMs > kBeatTickMs + kTimerSlackMs && grid.size > 3) {
    for (int candidate = 0; candidate < grid.size; ++candidate) {
      const double p = tightestPeriod(grid, guess, candidate);
      const double s = spread(grid, p, candidate);
      if (s < strayMs && s <= kBeatTickMs + kTimerSlackMs) {
        skip = candidate, period = p, strayMs = s;
      }
    }
  }
  // Within a tick every period of the range is as likely: take its middle.
  const double width = std::max(static_cast<double>(kBeatTickMs), strayMs) + 1e-6;
  return {middlePeriod(grid, width, skip, period), strayMs <= kBeatTickMs + kTimerSlackMs};
}

}  // namespace

Tempo fitTempo(std::span<const std::int64_t> beatTimesMs) {
  if (beatTimesMs.size() > static_cast<std::size_t>(kFitBeats)) beatTimesMs = beatTimesMs.last(kFitBeats);
  if (beatTimesMs.size() < 3) return {};
  double period = medianGap(beatTimesMs);
  if (period <= 0) return {};
  Grid grid;
  Fit fit{period, false};
  // Twice: the median gap places the beats on the grid, the first fit's
  // period places them again more surely.
  for (int pass = 0; pass < 2; ++pass) {
    // The newest beat may be the extra one: the grid from the one before it
    // wins when it holds more beats.
    grid = gridFrom(beatTimesMs, beatTimesMs.size() - 1, fit.period);
    const Grid before = gridFrom(beatTimesMs, beatTimesMs.size() - 2, fit.period);
    if (before.size > grid.size) grid = before;
    if (grid.size < 3) return {};
    fit = fitGrid(grid, fit.period);
  }
  return {60000.0 / fit.period, fit.onGrid && grid.size >= kSteadyBeats};
}

}  // namespace vantorhost
