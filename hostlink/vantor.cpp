#include "hostlink/vantor.h"

#include "model/arrays.h"

namespace Vantor {

using VantorTypeLib::Variant;

HelperReference pluginHelper;
std::uint8_t outputWasActive;
std::int32_t sweepCounter;

HelperReference& HelperReference::operator=(std::shared_ptr<VantorTypeLib::IPluginHelper> helper) {
  helper_ = std::move(helper);
  stream_ = nullptr;
  return *this;
}

// A host that fails to hand out its stream gets no values from this write.
void HelperReference::lookUpStream() {
  try {
    stream_ = &helper_->MyStream();
  } catch (...) {
    stream_ = nullptr;
  }
}

void outputWhileOff() {
  if (!pluginHelper || outputWasActive != 1) return;
  // Output was just switched off: every channel goes dark once; the call's
  // own channel and value are not sent.
  if (auto* stream = pluginHelper.stream())
    for (sweepCounter = 1; sweepCounter <= 1024; ++sweepCounter)
      sendToHost(*stream, Variant::i32(sweepCounter), Variant::i16(0));
  outputWasActive = 0;
}

void SendBeat() {
  if (!pluginHelper) return;
  try {
    pluginHelper->Messages().Send(Variant::i32(9), Variant::i16(1), Variant::i16(0));
  } catch (...) {
  }
}

}  // namespace Vantor
