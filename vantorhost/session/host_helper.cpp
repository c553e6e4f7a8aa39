#include "vantorhost/session/host_helper.h"

#include <string>

namespace vantorhost {

using VantorTypeLib::Variant;

namespace {

std::string text(const Variant& v) {
  if (v.type == Variant::Type::Boolean) return v.value ? "True" : "False";
  return std::to_string(v.value);
}

}  // namespace

void HostHelper::ChannelStream::UserInteraction() {
  if (trace) [[unlikely]]
    trace->line("UserInteraction");
}

void HostHelper::ChannelStream::SetChannel(Variant& channel, Variant& value, const Variant& flag) {
  if (trace) [[unlikely]]
    trace->line("SetChannel " + text(channel) + " " + text(value) + " " + text(flag));
  if (channels_.differs(channel.value, value.value)) [[unlikely]]
    store(channel.value, value.value);
}

void HostHelper::ChannelStream::store(std::int32_t channel, std::int32_t value) {
  channels_.set(channel, value, clock_());
}

void HostHelper::BeatMessages::Send(const Variant& message, const Variant& arg1, const Variant& arg2) {
  if (trace) trace->line("Send " + text(message) + " " + text(arg1) + " " + text(arg2));
  if (message.value == 9 && arg1.value == 1 && arg2.value == 0) {
    counter_.beat(clock_());
    if (onBeat) onBeat();
  }
}

}  // namespace vantorhost
