#pragma once
// The fade of what goes out: a channel whose value drops falls from where
// it stands to the new value in a straight line over the fade time; a rise
// goes out at once and ends the fall, so beats stay sharp. A fade of 0
// passes every value on as it is.
#include <array>
#include <cstdint>
#include <vector>

#include "vantorhost/base/channel_buffer.h"

namespace vantorhost {

class FadeStage {
 public:
  // Falls under way start again from where they stand with the new time;
  // with 0 they end at once.
  void setFade(std::int64_t ms, std::int64_t nowMs);
  std::int64_t fadeMs() const { return fadeMs_; }
  // Takes channels 1..1024 as they come in at `nowMs` and gives what goes
  // out (values(), in the same order).
  void render(const std::uint8_t* in, std::int64_t nowMs);
  const std::uint8_t* values() const { return out_.data(); }
  // Whether a channel is still on its way down.
  bool falling() const { return !falling_.empty(); }
  // Every fall ends at its value: what came in last goes out.
  void finish();

 private:
  struct Fall {
    std::uint8_t from = 0, to = 0;
    std::int64_t startMs = 0;
  };
  std::uint8_t valueAt(const Fall& fall, std::int64_t nowMs) const;

  std::int64_t fadeMs_ = 0;
  std::array<std::uint8_t, ChannelBuffer::kChannels> out_{};
  std::array<Fall, ChannelBuffer::kChannels> falls_{};
  std::array<bool, ChannelBuffer::kChannels> isFalling_{};
  std::vector<int> falling_;  // the channels (0-based) on their way down
};

}  // namespace vantorhost
