#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "bridge/beat/beat_tracking.h"

namespace vbvis {

// A live source's audio for the beat tracker: every frame the capture
// delivers is copied here as it arrives (by whoever fills the ring, the
// reader's pull or the capture thread), with when it is heard, and the
// capture thread runs the tracker over it after each of its fills. The
// spectrum analysis takes its audio from its own ring, untouched.
class TrackerTap {
 public:
  TrackerTap(int sampleRate, TrackerBoard& board,
             BeatTracking::TrackerFactory make = BeatTracking::makeTracker)
      : rate_(sampleRate), board_(board), tracking_(sampleRate, board, make) {}

  // The filler: frames as they arrive, then how far behind the bridge's
  // clock (steady time) the newest of them is heard: the capture latency
  // the source reports (negative for a monitor whose sound is still to be
  // played).
  void push(const float* stereo, std::size_t frames);
  void arrived(std::int64_t nowUs, std::int64_t latencyUs);
  // The capture thread: runs the tracker over what arrived since. Making
  // or feeding the tracker allocates, and so may throw; then the tap is
  // given up (abandon()).
  void track();
  // The tracker stopped for good: the board says nothing is known, and
  // stays so while this source plays.
  void abandon() { board_.close(); }

  // At most this much waits; older audio is dropped (and the tracker starts afresh).
  static constexpr std::int64_t kMaxWaitingUs = 2'000'000;

 private:
  int rate_;
  TrackerBoard& board_;
  // Guards waiting_, written_, originUs_ and timed_, which the filler
  // (either thread) writes and track() reads; taken_ and tracking_ belong
  // to the capture thread alone, so the tracker runs outside the lock.
  std::mutex mutex_;
  std::vector<float> waiting_;
  std::int64_t written_ = 0;      // frames ever pushed
  double originUs_ = 0.0;         // when frame 0 is heard, smoothed
  bool timed_ = false;
  std::vector<float> taken_;
  BeatTracking tracking_;
};

}  // namespace vbvis
