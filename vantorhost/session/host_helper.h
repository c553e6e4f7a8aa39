#pragma once
#include <functional>

#include "interface/VantorTypeLib.h"
#include "vantorhost/base/channel_buffer.h"
#include "vantorhost/base/trace.h"
#include "vantorhost/plugin_beats/plugin_beat_counter.h"

namespace vantorhost {

// The helper object the host hands the plug-in: channel values go into the
// channel buffer (and the trace), beat messages to the plug-in's beat counter. The
// stream and the messages are objects of their own, so the plug-in's calls
// land on them directly.
class HostHelper final : public VantorTypeLib::IPluginHelper {
 public:
  HostHelper(ChannelBuffer& channels, PluginBeatCounter& counter, std::function<std::int64_t()> clock)
      : stream_(channels, clock), messages_(counter, std::move(clock)) {}

  void setTrace(Trace* trace) { stream_.trace = messages_.trace = trace; }
  // Told after every beat the plug-in hands over.
  void setOnBeat(std::function<void()> onBeat) { messages_.onBeat = std::move(onBeat); }

  VantorTypeLib::IMyStream& MyStream() override { return stream_; }
  VantorTypeLib::IMessages& Messages() override { return messages_; }

 private:
  // Called for every channel value of every tick: an unchanged value costs
  // a compare.
  class ChannelStream final : public VantorTypeLib::IMyStream {
   public:
    ChannelStream(ChannelBuffer& channels, std::function<std::int64_t()> clock)
        : channels_(channels), clock_(std::move(clock)) {}
    void UserInteraction() override;
    void SetChannel(VantorTypeLib::Variant& channel, VantorTypeLib::Variant& value,
                    const VantorTypeLib::Variant& flag) override;
    Trace* trace = nullptr;

   private:
    void store(std::int32_t channel, std::int32_t value);
    ChannelBuffer& channels_;
    std::function<std::int64_t()> clock_;
  };

  class BeatMessages final : public VantorTypeLib::IMessages {
   public:
    BeatMessages(PluginBeatCounter& counter, std::function<std::int64_t()> clock)
        : counter_(counter), clock_(std::move(clock)) {}
    void Send(const VantorTypeLib::Variant& message, const VantorTypeLib::Variant& arg1,
              const VantorTypeLib::Variant& arg2) override;
    Trace* trace = nullptr;
    std::function<void()> onBeat;

   private:
    PluginBeatCounter& counter_;
    std::function<std::int64_t()> clock_;
  };

  ChannelStream stream_;
  BeatMessages messages_;
};

}  // namespace vantorhost
