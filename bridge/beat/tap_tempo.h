#pragma once
#include <cstdint>
#include <vector>

namespace vbvis {

// The operator's taps on the beat, made into a grid: a tempo and a beat.
// Taps in a row (each within kRowGapUs of the last) count; from the
// kTapsNeeded-th on, the grid is the straight line that fits the last
// kTapsFitted taps best (least squares), so a late tap and an early one
// cancel out, and its beat is where that line puts the last tap. A tempo
// out of the tracker's range is brought in by octaves. A tap within
// kBounceUs of the last is a bounce of the key and is not counted.
class TapTempo {
 public:
  static constexpr int kTapsNeeded = 4;
  static constexpr int kTapsFitted = 8;
  static constexpr std::int64_t kRowGapUs = 2'000'000;
  static constexpr std::int64_t kBounceUs = 150'000;
  static constexpr double kSlowestBpm = 60.0;
  static constexpr double kFastestBpm = 200.0;

  struct Grid {
    std::int64_t periodUs = 0;  // 0: no grid
    std::int64_t beatUs = 0;    // a beat of it, on the clock the taps were given on
  };
  // A tap at `atUs`; returns the grid of the row so far (none before kTapsNeeded taps).
  Grid tap(std::int64_t atUs);
  int taps() const { return static_cast<int>(row_.size()); }
  void clear() { row_.clear(); }

 private:
  Grid fit() const;

  std::vector<std::int64_t> row_;  // the taps of this row, oldest first
};

}  // namespace vbvis
