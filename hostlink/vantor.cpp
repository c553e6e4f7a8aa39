#include "hostlink/vantor.h"

#include "model/arrays.h"

namespace Vantor {

using VantorTypeLib::Variant;

std::shared_ptr<VantorTypeLib::IPluginHelper> pluginHelper;
std::uint8_t outputWasActive;
std::int32_t sweepCounter;

namespace {

// A failing host call must not stop the tick: its error ends here.
template <class Call>
void guarded(Call&& call) {
  try {
    call();
  } catch (...) {
  }
}

void sendToHost(VantorTypeLib::IMyStream& stream, Variant channel, Variant value) {
  guarded([&] { stream.UserInteraction(); });
  guarded([&] { stream.SetChannel(channel, value, Variant::boolean(true)); });
}

// The helper's stream, looked up once per call of OutputChannel; a host that
// fails to hand it out gets no values from this call.
VantorTypeLib::IMyStream* streamOf(VantorTypeLib::IPluginHelper& helper) {
  try {
    return &helper.MyStream();
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

void OutputChannel(std::int32_t channel, std::int32_t& value) {
  if (!pluginHelper) return;
  if (Arrays::dmxOutputActive == 1) {
    if (auto* stream = streamOf(*pluginHelper)) sendToHost(*stream, Variant::i32(channel), Variant::i32(value));
    outputWasActive = 1;
    return;
  }
  if (outputWasActive != 1) return;
  // Output was just switched off: every channel goes dark once; the call's
  // own channel and value are not sent.
  if (auto* stream = streamOf(*pluginHelper))
    for (sweepCounter = 1; sweepCounter <= 1024; ++sweepCounter)
      sendToHost(*stream, Variant::i32(sweepCounter), Variant::i16(0));
  outputWasActive = 0;
}

void SendBeat() {
  if (!pluginHelper) return;
  guarded([] { pluginHelper->Messages().Send(Variant::i32(9), Variant::i16(1), Variant::i16(0)); });
}

}  // namespace Vantor
