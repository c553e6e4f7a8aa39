#include "vantorhost/output/patch_stage.h"

namespace vantorhost {

bool PatchStage::follow(const FixturePatch& patch, const std::vector<std::int16_t>& driven) {
  // Asked after every event: without fixtures there is nothing to walk.
  if (idle_ && patch.fixtures().empty()) return false;
  std::array<bool, ChannelBuffer::kChannels> isDriven{};
  for (const std::int16_t c : driven)
    if (c >= 1 && c <= ChannelBuffer::kChannels) isDriven[static_cast<std::size_t>(c - 1)] = true;
  std::vector<Rest> rests;
  std::array<bool, ChannelBuffer::kChannels> dims{};
  for (int c = 1; c <= ChannelBuffer::kChannels; ++c) {
    const PatchedChannel& channel = patch.channel(c);
    const std::size_t i = static_cast<std::size_t>(c - 1);
    // A fixture whose definition is missing lights nothing of its own.
    dims[i] = !channel.defined || channel.role.intensity();
    if (channel.defined && !isDriven[i]) rests.push_back({static_cast<int>(i), channel.role.rest});
  }
  const bool idle = patch.fixtures().empty();
  if (rests == rests_ && dims == dims_ && idle == idle_) return false;
  rests_ = std::move(rests);
  dims_ = dims;
  idle_ = idle;
  return true;
}

void PatchStage::rest(std::uint8_t* channels) const {
  for (const Rest& r : rests_) channels[r.index] = r.value;
}

}  // namespace vantorhost
