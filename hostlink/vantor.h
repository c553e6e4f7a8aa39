#pragma once
// Module Vantor: the only place that calls the host's helper object.
#include <cstdint>
#include <memory>

#include "interface/VantorTypeLib.h"
#include "model/arrays.h"

namespace Vantor {

// The host's helper object as the module keeps it. Its stream is looked up
// once, when the reference is set (a host that fails to hand it out is asked
// again on the next write), so that a channel write costs the two host calls
// it makes and nothing more.
class HelperReference {
 public:
  HelperReference& operator=(std::shared_ptr<VantorTypeLib::IPluginHelper> helper);
  void reset() { *this = nullptr; }
  explicit operator bool() const { return helper_ != nullptr; }
  VantorTypeLib::IPluginHelper* operator->() const { return helper_.get(); }
  // nullptr while the helper does not hand out its stream.
  VantorTypeLib::IMyStream* stream() {
    if (!stream_ && helper_) [[unlikely]] lookUpStream();
    return stream_;
  }

 private:
  void lookUpStream();
  std::shared_ptr<VantorTypeLib::IPluginHelper> helper_;
  VantorTypeLib::IMyStream* stream_ = nullptr;
};

extern HelperReference pluginHelper;
extern std::uint8_t outputWasActive;  // 1 after a value was sent while output was on
extern std::int32_t sweepCounter;     // channel of the switch-off sweep

// One channel value to the host: UserInteraction, then SetChannel(channel,
// value, True). A failing host call must not stop the tick, so each call has
// a handler of its own (a failed UserInteraction still lets the value
// through); handlers cost nothing until a call throws.
inline void sendToHost(VantorTypeLib::IMyStream& stream, VantorTypeLib::Variant channel,
                       VantorTypeLib::Variant value) {
  try {
    stream.UserInteraction();
  } catch (...) {
  }
  try {
    stream.SetChannel(channel, value, VantorTypeLib::Variant::boolean(true));
  } catch (...) {
  }
}
// Output off (or no helper): the switch-off sweep when one is due.
void outputWhileOff();

// Sends one channel value while output is on; the first call after output
// was switched off sets all 1024 channels to 0 instead. The tick makes up to
// 300,000 of these calls, so the common case stays in line.
inline void OutputChannel(std::int32_t channel, std::int32_t& value) {
  if (Arrays::dmxOutputActive == 1 && pluginHelper) [[likely]] {
    if (auto* stream = pluginHelper.stream()) [[likely]]
      sendToHost(*stream, VantorTypeLib::Variant::i32(channel), VantorTypeLib::Variant::i32(value));
    outputWasActive = 1;
    return;
  }
  outputWhileOff();
}
// Hands one beat to the host's beat tool.
void SendBeat();

}  // namespace Vantor
