#pragma once
#include <cstdint>
#include <deque>

namespace vantorhost {

// The host's beat tool: counts the beats the plug-in hands over and derives
// the tempo from the last few.
class BeatTool {
 public:
  void beat(std::int64_t nowMs);
  std::uint64_t count() const { return count_; }
  std::int64_t lastBeatMs() const { return last_; }
  // Beats per minute from the median interval of the recent beats; 0 while
  // fewer than two beats came in the last few seconds.
  double bpm(std::int64_t nowMs) const;

 private:
  std::deque<std::int64_t> recent_;
  std::uint64_t count_ = 0;
  std::int64_t last_ = -1;
};

}  // namespace vantorhost
