#pragma once
// A layer of light that the host lays over the plug-in's channels on their
// way out (the beat output is one): merged highest-takes-precedence (HTP),
// after the output delay and before the fade, master and blackout.
#include <cstdint>
#include <span>

#include "vantorhost/base/channel_buffer.h"

namespace vantorhost {

class OutputLayer {
 public:
  using Channels = std::span<std::uint8_t, ChannelBuffer::kChannels>;
  virtual ~OutputLayer() = default;
  // Called at every hand-on, before a frame is rendered: a layer that
  // follows something outside the path (the beat tracker) looks at it
  // here. Layers come after the output delay, so one timed to the music
  // holds itself back by `delayMs` as the delay holds the channels back.
  virtual void follow(std::int64_t /*nowMs*/, std::int64_t /*delayMs*/) {}
  // Raises each channel it drives at `nowMs` to its own value where that is
  // higher (channel c is channels[c - 1]); leaves the others alone.
  virtual void mergeHtp(Channels channels, std::int64_t nowMs) const = 0;
  // The first time after `afterMs` at which its values change by
  // themselves (a flash that starts or ends); -1 when they do not. The
  // output path renders a frame at exactly that time.
  virtual std::int64_t nextChangeMs(std::int64_t afterMs) const = 0;
};

// HTP for one channel: the higher value wins.
inline void raiseTo(std::uint8_t& channel, std::uint8_t value) {
  if (value > channel) channel = value;
}

}  // namespace vantorhost
