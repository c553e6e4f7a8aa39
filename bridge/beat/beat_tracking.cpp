#include "bridge/beat/beat_tracking.h"

#include <cmath>

namespace vbvis {

void BeatTracking::process(std::span<const float> stereo, std::int64_t first, double originUs) {
  if (!tracker_ || first != next_) {
    tracker_ = make_(rate_);
    base_ = first;
  }
  tracker_->push(stereo);
  next_ = first + static_cast<std::int64_t>(stereo.size() / 2);

  // The operator's taps and half-beat nudges: the tracker goes on from them.
  const double usPerFrame = 1e6 / rate_;
  const BeatHands::Orders orders = board_.hands().take();
  if (orders.tapped)
    tracker_->lead(static_cast<double>(orders.grid.periodUs) / usPerFrame,
                   (static_cast<double>(orders.grid.beatUs) - originUs) / usPerFrame - static_cast<double>(base_));
  for (int i = 0; i < orders.halves; ++i) tracker_->shiftHalf();

  const BeatTracker::State s = tracker_->state();
  TrackerState out;
  out.handsSeen = orders.seen;
  out.heardUs = std::llround(originUs + static_cast<double>(next_) * usPerFrame);
  out.bpm = s.bpm;
  out.confidence = s.confidence;
  out.locked = s.locked;
  out.periodUs = std::llround(s.periodSamples * usPerFrame);
  for (std::size_t i = 0; i < s.nextBeats.size(); ++i)
    if (s.nextBeats[i] >= 0.0)
      out.nextBeatsUs[i] = std::llround(originUs + (static_cast<double>(base_) + s.nextBeats[i]) * usPerFrame);
  board_.publish(out);
}

}  // namespace vbvis
