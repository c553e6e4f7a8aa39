#include "bridge/capture/clocked_feed.h"

#include <algorithm>

namespace vbvis {

ClockedFeed::ClockedFeed(std::unique_ptr<FrameGenerator> generator, std::int64_t openedUs, TrackerBoard* board)
    : generator_(std::move(generator)), openedUs_(openedUs) {
  if (board) tracking_.emplace(generator_->sampleRate(), *board);
}

void ClockedFeed::Pending::append(const std::vector<float>& fresh, std::int64_t firstFresh, bool gap,
                                  std::size_t limitFrames) {
  if (stereo.empty()) first = firstFresh;
  stereo.insert(stereo.end(), fresh.begin(), fresh.end());
  dropped = dropped || gap;
  // Cut back now and then rather than on every append: a reader that does
  // not come (no analysis while beats are tracked) costs no copying.
  if (stereo.size() > 4 * limitFrames) keepNewest(limitFrames);
}

void ClockedFeed::Pending::keepNewest(std::size_t limitFrames) {
  if (stereo.size() <= 2 * limitFrames) return;
  const std::size_t excess = stereo.size() / 2 - limitFrames;
  stereo.erase(stereo.begin(), stereo.begin() + static_cast<std::ptrdiff_t>(2 * excess));
  first += static_cast<std::int64_t>(excess);
  dropped = true;
}

std::size_t ClockedFeed::limitFrames() const {
  return static_cast<std::size_t>(kMaxTakeUs * generator_->sampleRate() / 1'000'000);
}

void ClockedFeed::readDue(std::int64_t nowUs) {
  const std::int64_t rate = generator_->sampleRate();
  // Whole frames due by now; a clock that went back delivers nothing.
  const std::int64_t due = std::max<std::int64_t>(0, nowUs - openedUs_) * rate / 1'000'000;
  std::int64_t fresh = due - played_;
  if (fresh <= 0) return;
  const std::int64_t limit = static_cast<std::int64_t>(limitFrames());
  const bool gap = fresh > limit;
  if (gap) {
    generator_->skip(static_cast<std::size_t>(fresh - limit));
    played_ += fresh - limit;
    fresh = limit;
  }
  fresh_.resize(static_cast<std::size_t>(2 * fresh));
  generator_->read(fresh_.data(), static_cast<std::size_t>(fresh));
  analysis_.append(fresh_, played_, gap, static_cast<std::size_t>(limit));
  if (tracked_) tracked_->append(fresh_, played_, gap, static_cast<std::size_t>(limit));
  played_ += fresh;
}

bool ClockedFeed::take(std::vector<float>& stereo, std::int64_t nowUs) {
  readDue(nowUs);
  analysis_.keepNewest(limitFrames());
  stereo.swap(analysis_.stereo);
  analysis_.stereo.clear();
  const bool continuous = !analysis_.dropped;
  analysis_.dropped = false;
  return continuous;
}

void ClockedFeed::track(std::int64_t nowUs) {
  if (!tracking_) return;
  if (!tracked_) tracked_.emplace();
  readDue(nowUs);
  tracked_->keepNewest(limitFrames());
  if (tracked_->stereo.empty()) return;
  const double originUs = static_cast<double>(openedUs_);
  tracking_->process(tracked_->stereo, tracked_->first, originUs);
  tracked_->stereo.clear();
  tracked_->dropped = false;
}

}  // namespace vbvis
