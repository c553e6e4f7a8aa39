#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "bridge/beat/beat_tracker.h"
#include "bridge/beat/tracker_board.h"

namespace vbvis {

// Runs the beat tracker over a source's audio and publishes its state on
// the bridge's clock. The audio comes in pieces, each with the position of
// its first frame in the source; a piece that does not follow on the last
// one (audio was lost) starts the tracker afresh, so a gap is never read
// as a beat's worth of time. The operator's taps and half-beat nudges
// (BeatHands on the board) are handed to the tracker as the audio is.
class BeatTracking {
 public:
  // Makes the tracker for each fresh start (tests make one that fails).
  using TrackerFactory = std::unique_ptr<BeatTracker> (*)(int sampleRate);
  static std::unique_ptr<BeatTracker> makeTracker(int sampleRate) { return std::make_unique<BeatTracker>(sampleRate); }

  BeatTracking(int sampleRate, TrackerBoard& board, TrackerFactory make = makeTracker)
      : rate_(sampleRate), board_(board), make_(make) {}

  // `originUs`: the time on the bridge's clock at which the source's frame 0
  // is heard, so frame k is heard at originUs + k / rate. Making the
  // tracker allocates, and so may throw.
  void process(std::span<const float> stereo, std::int64_t first, double originUs);
  std::int64_t next() const { return next_; }

 private:
  int rate_;
  TrackerBoard& board_;
  TrackerFactory make_;
  std::unique_ptr<BeatTracker> tracker_;
  std::int64_t base_ = 0;    // source position of the tracker's first frame
  std::int64_t next_ = -1;   // source position the next piece should start at
};

}  // namespace vbvis
