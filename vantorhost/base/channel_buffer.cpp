#include "vantorhost/base/channel_buffer.h"

namespace vantorhost {

bool ChannelBuffer::set(std::int32_t channel, std::int32_t value, std::int64_t nowMs) {
  if (channel < 1 || channel > kChannels) return false;
  const std::uint8_t v = clamp(value);
  const auto i = static_cast<std::size_t>(channel - 1);
  if (values_[i] == v) return false;
  values_[i] = v;
  changedAt_[i] = nowMs;
  ++revision_[i / kUniverseSize];
  return true;
}

}  // namespace vantorhost
