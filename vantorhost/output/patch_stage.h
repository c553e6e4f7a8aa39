#pragma once
// The patch on the channels' way out. A fixture's channel that the design
// does not drive holds its rest value (the lowest layer: a channel in one
// of the plug-in's lists in use, or in the beat output's list, takes their
// values instead), so a moving head whose colour alone is driven lights
// with its dimmer and shutter open. The master and the blackout act on the
// intensities of fixtures (colours and dimmers) and on every channel of no
// fixture as they always did; never on a fixture's pan, tilt, gobo or speed.
#include <array>
#include <cstdint>
#include <vector>

#include "vantorhost/base/channel_buffer.h"
#include "vantorhost/fixtures/fixture_patch.h"

namespace vantorhost {

class PatchStage {
 public:
  PatchStage() { dims_.fill(true); }
  // Takes the patch and the channels the design drives (1..1024, any
  // order); true when what the stage does changed.
  bool follow(const FixturePatch& patch, const std::vector<std::int16_t>& driven);
  // Nothing patched: every channel passes as before.
  bool idle() const { return idle_; }
  // Sets the rest values over channels 1..1024 (channels[c - 1]).
  void rest(std::uint8_t* channels) const;
  // Whether the master and the blackout act on channel index (0-based).
  bool dims(std::size_t index) const { return dims_[index]; }

 private:
  struct Rest {
    int index;
    std::uint8_t value;
    bool operator==(const Rest&) const = default;
  };
  std::vector<Rest> rests_;
  std::array<bool, ChannelBuffer::kChannels> dims_{};
  bool idle_ = true;
};

}  // namespace vantorhost
