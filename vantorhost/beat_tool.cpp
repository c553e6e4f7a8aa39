#include "vantorhost/beat_tool.h"

#include <algorithm>
#include <vector>

namespace vantorhost {

namespace {
constexpr size_t kKeep = 9;
constexpr std::int64_t kStaleMs = 3000;
}  // namespace

void BeatTool::beat(std::int64_t nowMs) {
  ++count_;
  last_ = nowMs;
  recent_.push_back(nowMs);
  while (recent_.size() > kKeep) recent_.pop_front();
}

double BeatTool::bpm(std::int64_t nowMs) const {
  if (recent_.size() < 2 || nowMs - last_ > kStaleMs) return 0;
  std::vector<std::int64_t> gaps;
  for (size_t i = 1; i < recent_.size(); ++i) gaps.push_back(recent_[i] - recent_[i - 1]);
  std::nth_element(gaps.begin(), gaps.begin() + static_cast<long>(gaps.size() / 2), gaps.end());
  const std::int64_t median = gaps[gaps.size() / 2];
  return median > 0 ? 60000.0 / static_cast<double>(median) : 0;
}

}  // namespace vantorhost
