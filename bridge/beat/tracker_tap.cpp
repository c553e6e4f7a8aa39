#include "bridge/beat/tracker_tap.h"

#include <cmath>

namespace vbvis {

namespace {

// How quickly the heard time follows each new measurement (the moment a
// fill runs jitters by a fragment), and how far off one must be to be
// taken at once (the source was reopened, the latency changed).
constexpr double kFollow = 0.05;
constexpr double kJumpUs = 50'000.0;

}  // namespace

void TrackerTap::push(const float* stereo, std::size_t frames) {
  std::lock_guard lock(mutex_);
  waiting_.insert(waiting_.end(), stereo, stereo + 2 * frames);
  written_ += static_cast<std::int64_t>(frames);
  const std::size_t limit = static_cast<std::size_t>(kMaxWaitingUs * rate_ / 1'000'000);
  if (waiting_.size() > 2 * limit) waiting_.erase(waiting_.begin(), waiting_.end() - static_cast<std::ptrdiff_t>(2 * limit));
}

void TrackerTap::arrived(std::int64_t nowUs, std::int64_t latencyUs) {
  std::lock_guard lock(mutex_);
  const double origin = static_cast<double>(nowUs - latencyUs) - static_cast<double>(written_) * 1e6 / rate_;
  if (!timed_ || std::abs(origin - originUs_) > kJumpUs) originUs_ = origin;
  else originUs_ += kFollow * (origin - originUs_);
  timed_ = true;
}

void TrackerTap::track() {
  std::int64_t first = 0;
  double origin = 0.0;
  {
    std::lock_guard lock(mutex_);
    taken_.swap(waiting_);
    waiting_.clear();
    first = written_ - static_cast<std::int64_t>(taken_.size() / 2);
    origin = originUs_;
  }
  if (!taken_.empty()) tracking_.process(taken_, first, origin);
}

}  // namespace vbvis
