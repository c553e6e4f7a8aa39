#include "vantorhost/output/output_path.h"

#include <algorithm>
#include <cstring>

namespace vantorhost {

OutputPath::OutputPath(const ChannelBuffer& channels, DmxOutput& output, Clock clock)
    : channels_(channels), output_(output), clock_(std::move(clock)) {
  tk::app().addObserver(this);
}

OutputPath::~OutputPath() { tk::app().removeObserver(this); }

void OutputPath::setDelay(std::int64_t ms) {
  delayMs_ = std::max<std::int64_t>(0, ms);
  handOn();
}

void OutputPath::release(const std::uint8_t* channels, std::int64_t nowMs) {
  for (int u = 0; u < 2; ++u) {
    const std::uint8_t* values = channels + u * ChannelBuffer::kUniverseSize;
    if (std::memcmp(values, sent_.universe(u), ChannelBuffer::kUniverseSize) == 0) continue;
    for (int i = 0; i < ChannelBuffer::kUniverseSize; ++i)
      sent_.set(u * ChannelBuffer::kUniverseSize + i + 1, values[i], nowMs);
  }
}

void OutputPath::hold(std::int64_t nowMs) {
  if (held_.size() == kMaxHeld) {
    release(held_.front().values.data(), nowMs);
    held_.pop_front();
  }
  Change& change = held_.emplace_back();
  change.atMs = nowMs;
  std::memcpy(change.values.data(), channels_.universe(0), ChannelBuffer::kChannels);
}

void OutputPath::handOn() {
  const std::int64_t now = clock_();
  const std::array<std::uint64_t, 2> revision{channels_.universeRevision(0), channels_.universeRevision(1)};
  if (revision != taken_) {
    taken_ = revision;
    // Without a delay and nothing held back, the buffer goes out as it stands.
    if (delayMs_ == 0 && held_.empty()) release(channels_.universe(0), now);
    else hold(now);
  }
  while (!held_.empty() && held_.front().atMs + delayMs_ <= now) {
    release(held_.front().values.data(), now);
    held_.pop_front();
  }
  output_.service(sent_);
  if (!held_.empty() && wake_) wake_(nextDueMs());
  const std::array<std::uint64_t, 2> moved{sent_.universeRevision(0), sent_.universeRevision(1)};
  if (moved == shown_) return;
  shown_ = moved;
  if (watcher_) watcher_(sent_, now);
}

}  // namespace vantorhost
