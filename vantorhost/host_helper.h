#pragma once
#include <functional>

#include "interface/VantorTypeLib.h"
#include "vantorhost/beat_tool.h"
#include "vantorhost/channel_buffer.h"
#include "vantorhost/trace.h"

namespace vantorhost {

// The helper object the host hands the plug-in: channel values go into the
// channel buffer (and the trace), beat messages to the beat tool.
class HostHelper final : public VantorTypeLib::IPluginHelper,
                         private VantorTypeLib::IMyStream,
                         private VantorTypeLib::IMessages {
 public:
  HostHelper(ChannelBuffer& channels, BeatTool& beats, std::function<std::int64_t()> clock)
      : channels_(channels), beats_(beats), clock_(std::move(clock)) {}

  void setTrace(Trace* trace) { trace_ = trace; }
  // Told after every stored change, for outputs that send on change.
  std::function<void()> onChannelsChanged;
  std::function<void()> onBeat;

  VantorTypeLib::IMyStream& MyStream() override { return *this; }
  VantorTypeLib::IMessages& Messages() override { return *this; }

 private:
  void UserInteraction() override;
  void SetChannel(VantorTypeLib::Variant& channel, VantorTypeLib::Variant& value,
                  const VantorTypeLib::Variant& flag) override;
  void Send(const VantorTypeLib::Variant& message, const VantorTypeLib::Variant& arg1,
            const VantorTypeLib::Variant& arg2) override;

  ChannelBuffer& channels_;
  BeatTool& beats_;
  std::function<std::int64_t()> clock_;
  Trace* trace_ = nullptr;
};

}  // namespace vantorhost
