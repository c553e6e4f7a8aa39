#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace vantorhost {

// The host's DMX channels 1..1024 as two universes of 512. Every output (OLA,
// the monitor) reads from here; a counter per universe tells them what moved.
class ChannelBuffer {
 public:
  static constexpr int kChannels = 1024;
  static constexpr int kUniverseSize = 512;

  // Stores a value for channel 1..1024, clamped to 0..255; other channels
  // are ignored. Returns true when the stored value changed.
  bool set(std::int32_t channel, std::int32_t value, std::int64_t nowMs);
  // Whether set() would store something new; lets callers skip reading
  // the clock for the many writes that change nothing.
  bool differs(std::int32_t channel, std::int32_t value) const {
    return channel >= 1 && channel <= kChannels && values_[static_cast<std::size_t>(channel - 1)] != clamp(value);
  }
  std::uint8_t get(int channel) const { return values_[static_cast<std::size_t>(channel - 1)]; }
  // When the channel last changed, or -1 if it never did.
  std::int64_t lastChangeMs(int channel) const { return changedAt_[static_cast<std::size_t>(channel - 1)]; }
  const std::uint8_t* universe(int index) const { return values_.data() + index * kUniverseSize; }
  std::uint64_t universeRevision(int index) const { return revision_[static_cast<std::size_t>(index)]; }

 private:
  static std::uint8_t clamp(std::int32_t value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
  }
  std::array<std::uint8_t, kChannels> values_{};
  std::array<std::int64_t, kChannels> changedAt_ = [] {
    std::array<std::int64_t, kChannels> a{};
    a.fill(-1);
    return a;
  }();
  std::array<std::uint64_t, 2> revision_{};
};

}  // namespace vantorhost
