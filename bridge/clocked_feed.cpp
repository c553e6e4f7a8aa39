#include "bridge/clocked_feed.h"

#include <algorithm>

namespace vbvis {

ClockedFeed::ClockedFeed(std::unique_ptr<FrameGenerator> generator, std::int64_t openedUs)
    : generator_(std::move(generator)), openedUs_(openedUs) {}

bool ClockedFeed::take(std::vector<float>& stereo, std::int64_t nowUs) {
  stereo.clear();
  const std::int64_t rate = generator_->sampleRate();
  // Whole frames due by now; a clock that went back delivers nothing.
  const std::int64_t due = std::max<std::int64_t>(0, nowUs - openedUs_) * rate / 1'000'000;
  std::int64_t fresh = due - played_;
  if (fresh <= 0) return true;
  const std::int64_t limit = kMaxTakeUs * rate / 1'000'000;
  const bool continuous = fresh <= limit;
  if (!continuous) {
    generator_->skip(static_cast<std::size_t>(fresh - limit));
    played_ += fresh - limit;
    fresh = limit;
  }
  stereo.resize(static_cast<std::size_t>(2 * fresh));
  generator_->read(stereo.data(), static_cast<std::size_t>(fresh));
  played_ += fresh;
  return continuous;
}

}  // namespace vbvis
