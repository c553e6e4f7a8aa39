#include "vantorhost/output/beat_by_hand.h"

#include <algorithm>

#include "bridge/vbvis.h"

namespace vantorhost {

BeatByHand::BeatByHand()
    : calls_{vbvis_tracker_tap, vbvis_tracker_nudge, vbvis_tracker_nudge_half, vbvis_tracker_hold, vbvis_tracker_held,
             vbvis_clock_us} {}

void BeatByHand::nudge(int ms) const {
  calls_.nudge(static_cast<std::int64_t>(std::clamp(ms, -kMaxNudgeMs, kMaxNudgeMs)) * 1000);
}

}  // namespace vantorhost
