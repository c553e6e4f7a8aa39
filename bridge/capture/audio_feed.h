#pragma once
#include <cstdint>
#include <vector>

#include "bridge/capture/source_state.h"

namespace vbvis {

// Delivers the audio that arrived since the previous take, measured on the
// feed's own clock (real time for live sources, the simulated clock for
// sources that follow it).
class AudioFeed {
 public:
  virtual ~AudioFeed() = default;
  virtual int sampleRate() const = 0;
  // True when the feed runs on the bridge's (possibly simulated) clock.
  virtual bool followsBridgeClock() const = 0;
  // Replaces `stereo` with the interleaved frames since the previous take;
  // false when some were dropped, so they do not follow on the last take's.
  virtual bool take(std::vector<float>& stereo, std::int64_t nowUs) = 0;
  // Runs the beat tracker over the audio due by `nowUs`, on the caller's
  // thread, for a feed on the simulated clock; a live feed tracks on its
  // capture thread and does nothing here.
  virtual void track(std::int64_t /*nowUs*/) {}
  // Its source's state, where the source can fail.
  virtual const SourceState* state() const { return nullptr; }
};

// At most this much audio goes into one analysis; anything older is
// dropped, so a long gap between reads never plays out late.
inline constexpr std::int64_t kMaxTakeUs = 1'000'000;

}  // namespace vbvis
