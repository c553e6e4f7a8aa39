// The operator's hands on the beat, shown before the tracker has taken them in.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "bridge/beat/beat_hands.h"
#include "bridge/beat/tap_tempo.h"

using vbvis::BeatHands;
using vbvis::TapTempo;
using vbvis::TrackerState;

namespace {

constexpr std::int64_t k128Us = 468'750;  // one beat at 128 BPM

// The grid after tapping `times` (microseconds).
TapTempo::Grid tapped(const std::vector<std::int64_t>& times) {
  TapTempo taps;
  TapTempo::Grid grid;
  for (std::int64_t t : times) grid = taps.tap(t);
  return grid;
}

// How far `us` lies from the nearest beat of `grid`.
std::int64_t offGrid(const TapTempo::Grid& grid, std::int64_t us) {
  const double k = std::round(static_cast<double>(us - grid.beatUs) / static_cast<double>(grid.periodUs));
  return std::llabs(us - grid.beatUs - static_cast<std::int64_t>(k) * grid.periodUs);
}

// A tracker locked on `periodUs` from `beatUs`, heard up to half a beat before.
TrackerState locked(std::int64_t periodUs, std::int64_t beatUs, std::uint64_t seen = 0) {
  TrackerState state;
  state.heardUs = beatUs - periodUs / 2;
  state.locked = true;
  state.bpm = 60e6 / static_cast<double>(periodUs);
  state.periodUs = periodUs;
  state.confidence = 80;
  for (std::size_t i = 0; i < 4; ++i) state.nextBeatsUs[i] = beatUs + static_cast<std::int64_t>(i) * periodUs;
  state.handsSeen = seen;
  return state;
}

}  // namespace

TEST(TapTempo, TapsMakeTheGridTheyFit) {
  struct Case {
    const char* what;
    std::vector<std::int64_t> taps;
    std::int64_t periodUs;  // 0: no grid
    std::int64_t beatUs;    // where a beat of it lies
  };
  const std::int64_t b = k128Us;
  for (const Case& c : {
           Case{"three taps are not enough", {0, b, 2 * b}, 0, 0},
           Case{"four steady taps", {1'000'000, 1'000'000 + b, 1'000'000 + 2 * b, 1'000'000 + 3 * b}, b, 1'000'000},
           // A late tap and an early one cancel out in the fit.
           Case{"jittered taps", {0, b + 20'000, 2 * b - 20'000, 3 * b + 10'000, 4 * b - 10'000}, b, 0},
           Case{"a bounce of the key does not count", {0, b, b + 40'000, 2 * b, 3 * b}, b, 0},
           Case{"a pause of more than 2 s starts a new row", {0, b, 2 * b, 6'000'000, 6'000'000 + b}, 0, 0},
           // Every other tap is a beat; the last one is.
           Case{"taps at 300 BPM are brought into range (150)", {0, 200'000, 400'000, 600'000}, 400'000, 600'000},
           Case{"taps at 40 BPM are brought into range (80)", {0, 1'500'000, 3'000'000, 4'500'000}, 750'000, 0},
           Case{"only the last eight taps count",
                {0, 400'000, 800'000, 1'200'000, 1'200'000 + b, 1'200'000 + 2 * b, 1'200'000 + 3 * b,
                 1'200'000 + 4 * b, 1'200'000 + 5 * b, 1'200'000 + 6 * b, 1'200'000 + 7 * b, 1'200'000 + 8 * b},
                b, 1'200'000},
           Case{"a tap before the last one starts a new row", {5'000'000, 5'000'000 + b, 0, b, 2 * b}, 0, 0},
       }) {
    const TapTempo::Grid grid = tapped(c.taps);
    if (c.periodUs == 0) {
      EXPECT_EQ(grid.periodUs, 0) << c.what;
      continue;
    }
    EXPECT_NEAR(grid.periodUs, c.periodUs, 3'000) << c.what;
    EXPECT_LE(offGrid(grid, c.beatUs), 10'000) << c.what;
  }
}

TEST(BeatHands, TapsShowAtOnceUntilTheTrackerHasTakenThem) {
  BeatHands hands;
  const TrackerState nothing;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(hands.tap(1'000'000 + i * k128Us), i + 1);
  const std::int64_t now = 1'000'000 + 3 * k128Us + 10'000;
  TrackerState shown = hands.show(nothing, now);
  ASSERT_TRUE(shown.locked);
  EXPECT_NEAR(shown.bpm, 128.0, 0.5);
  EXPECT_LE(offGrid({k128Us, 1'000'000}, shown.nextBeatsUs[0]), 1'000);
  EXPECT_GE(shown.nextBeatsUs[0], now - k128Us / 2);
  EXPECT_LE(shown.nextBeatsUs[0], now + k128Us);

  const BeatHands::Orders orders = hands.take();
  ASSERT_TRUE(orders.tapped);
  EXPECT_NEAR(orders.grid.periodUs, k128Us, 1'000);
  EXPECT_FALSE(hands.take().tapped) << "taken once";
  // Until the tracker's state has taken them in, the taps still show; then its state does.
  EXPECT_NEAR(hands.show(locked(600'000, now + 100'000, orders.seen - 1), now).periodUs, k128Us, 1'000);
  const TrackerState tracker = locked(470'000, now + 400'000, orders.seen);
  EXPECT_EQ(hands.show(tracker, now).nextBeatsUs, tracker.nextBeatsUs);
}

TEST(BeatHands, NudgesMoveTheBeatAndHoldFreezesIt) {
  const std::int64_t now = 10'000'000, period = 500'000;
  const TrackerState tracker = locked(period, now + 100'000);
  struct Case {
    const char* what;
    std::vector<std::int64_t> nudgesUs;
    int halves;
    std::int64_t shiftUs;  // of the beats shown
  };
  for (const Case& c : {Case{"10 ms later", {10'000}, 0, 10'000},
                        Case{"twice 10 ms earlier", {-10'000, -10'000}, 0, -20'000},
                        Case{"a trim within a second either way", {900'000, 900'000}, 0, 1'000'000},
                        Case{"half a beat", {}, 1, 250'000},
                        Case{"two halves cancel out", {}, 2, 0},
                        Case{"half a beat and 10 ms earlier", {-10'000}, 1, 240'000}}) {
    BeatHands hands;
    for (std::int64_t us : c.nudgesUs) hands.nudge(us);
    for (int i = 0; i < c.halves; ++i) hands.nudgeHalf();
    const TrackerState shown = hands.show(tracker, now);
    ASSERT_TRUE(shown.locked) << c.what;
    const std::int64_t moved = shown.nextBeatsUs[0] - tracker.nextBeatsUs[0];
    EXPECT_EQ(((moved - c.shiftUs) % period + period) % period, 0) << c.what << ": moved " << moved;
  }

  // No audio for half a second (the source went away): no beats to come.
  EXPECT_FALSE(BeatHands().show(tracker, tracker.heardUs + BeatHands::kStaleUs + 1).locked);
  EXPECT_TRUE(BeatHands().show(tracker, tracker.heardUs + BeatHands::kStaleUs).locked);

  // Held, the beat keeps its tempo and phase whatever the tracker says.
  BeatHands hands;
  hands.hold(true, tracker, now);
  EXPECT_TRUE(hands.held());
  const TrackerState lost;
  const TrackerState later = hands.show(lost, now + 20'000'000);
  ASSERT_TRUE(later.locked);
  EXPECT_EQ(later.periodUs, period);
  EXPECT_EQ((later.nextBeatsUs[0] - tracker.nextBeatsUs[0]) % period, 0);
  hands.hold(false, lost, now + 20'000'000);
  EXPECT_FALSE(hands.show(lost, now + 20'000'000).locked);
  // Held with nothing locked: nothing to show until taps give a beat.
  BeatHands empty;
  empty.hold(true, lost, now);
  EXPECT_FALSE(empty.show(lost, now).locked);
  for (int i = 0; i < 4; ++i) empty.tap(now + i * k128Us);
  EXPECT_NEAR(empty.show(lost, now + 4 * k128Us).bpm, 128.0, 0.5);
}
