#include "bridge/beat/beat_hands.h"

#include <algorithm>
#include <cmath>

namespace vbvis {

namespace {

constexpr double kSecondsPerMinute = 60.0;
constexpr int kShownConfidence = 100;

// The state of a grid: locked, its next beats after `nowUs` (a beat due now,
// as the one of the tap that made the grid, could only light late).
TrackerState fromGrid(const TapTempo::Grid& grid, std::int64_t nowUs, int confidence) {
  TrackerState state;
  if (grid.periodUs <= 0) return state;
  state.locked = true;
  state.confidence = confidence;
  state.periodUs = grid.periodUs;
  state.bpm = kSecondsPerMinute * 1e6 / static_cast<double>(grid.periodUs);
  const double k =
      std::floor((static_cast<double>(nowUs) - static_cast<double>(grid.beatUs)) / static_cast<double>(grid.periodUs)) + 1.0;
  for (std::size_t i = 0; i < state.nextBeatsUs.size(); ++i)
    state.nextBeatsUs[i] = grid.beatUs + static_cast<std::int64_t>(k + static_cast<double>(i)) * grid.periodUs;
  return state;
}

// The grid of a locked state, moved by `byUs`.
TapTempo::Grid gridOf(const TrackerState& state, std::int64_t byUs) {
  if (!state.locked || state.periodUs <= 0 || state.nextBeatsUs[0] < 0) return {};
  return {state.periodUs, state.nextBeatsUs[0] + byUs};
}

}  // namespace

int BeatHands::tap(std::int64_t atUs) {
  std::lock_guard lock(mutex_);
  const TapTempo::Grid grid = taps_.tap(atUs);
  if (grid.periodUs > 0) {
    // A tap sets the phase: the nudges before it no longer matter.
    orders_.clear();
    orders_.push_back({++given_, true, grid});
    trimUs_ = 0;
    if (held_) heldGrid_ = grid;
  }
  return taps_.taps();
}

void BeatHands::nudge(std::int64_t us) {
  std::lock_guard lock(mutex_);
  trimUs_ = std::clamp(trimUs_ + std::clamp(us, -kMaxTrimUs, kMaxTrimUs), -kMaxTrimUs, kMaxTrimUs);
}

void BeatHands::nudgeHalf() {
  std::lock_guard lock(mutex_);
  // Two halves not yet seen cancel out.
  if (!orders_.empty() && !orders_.back().tap && orders_.back().number > taken_) orders_.pop_back();
  else orders_.push_back({++given_, false, {}});
  if (held_ && heldGrid_.periodUs > 0) heldGrid_.beatUs += heldGrid_.periodUs / 2;
}

void BeatHands::hold(bool on, const TrackerState& tracked, std::int64_t nowUs) {
  std::lock_guard lock(mutex_);
  if (on && !held_) heldGrid_ = gridOf(untrimmed(tracked, nowUs), 0);
  held_ = on;
}

bool BeatHands::held() const {
  std::lock_guard lock(mutex_);
  return held_;
}

void BeatHands::clear() {
  std::lock_guard lock(mutex_);
  taps_.clear();
  orders_.clear();
  taken_ = given_;
  trimUs_ = 0;
}

BeatHands::Orders BeatHands::take() {
  std::lock_guard lock(mutex_);
  Orders orders;
  for (const Order& order : orders_) {
    if (order.number <= taken_) continue;
    if (order.tap) orders = {true, order.grid, 0, 0};
    else ++orders.halves;
  }
  taken_ = given_;
  orders.seen = taken_;
  return orders;
}

// The tracker's state with the orders it has not yet taken into it.
TrackerState BeatHands::untrimmed(const TrackerState& tracked, std::int64_t nowUs) {
  std::erase_if(orders_, [&](const Order& order) { return order.number <= tracked.handsSeen; });
  TrackerState state = tracked;
  for (const Order& order : orders_) {
    if (order.tap) state = fromGrid(order.grid, nowUs, kShownConfidence);
    else if (state.locked) state = fromGrid(gridOf(state, state.periodUs / 2), nowUs, state.confidence);
  }
  return state;
}

TrackerState BeatHands::show(const TrackerState& tracked, std::int64_t nowUs) {
  std::lock_guard lock(mutex_);
  // No audio for a while (an outage of the source): no beats to come.
  TrackerState fresh = tracked;
  if (fresh.locked && nowUs - fresh.heardUs > kStaleUs) {
    fresh = TrackerState{};
    fresh.handsSeen = tracked.handsSeen;
  }
  TrackerState state = held_ ? fromGrid(heldGrid_, nowUs, kShownConfidence) : untrimmed(fresh, nowUs);
  if (held_) std::erase_if(orders_, [&](const Order& order) { return order.number <= tracked.handsSeen; });
  if (trimUs_ != 0 && state.locked) state = fromGrid(gridOf(state, trimUs_), nowUs, state.confidence);
  state.handsSeen = tracked.handsSeen;
  return state;
}

}  // namespace vbvis
