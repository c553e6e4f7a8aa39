#pragma once
// A host helper object that checks every call the plug-in makes instead of
// passing it on: channels 1..1024 always, values 0..255 while the engine's
// inputs lie inside what it is built for, and only the beat message 9, 1, 0.
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "interface/VantorTypeLib.h"

namespace fuzz {

class CheckingHelper final : public VantorTypeLib::IPluginHelper,
                             private VantorTypeLib::IMyStream,
                             private VantorTypeLib::IMessages {
 public:
  // Off while a level beyond full scale is fed in: the level outputs scale
  // it past 255 on purpose, as the host receives whatever they compute.
  bool checkValues = true;
  std::uint64_t channelsSent = 0, beatsSent = 0;

  VantorTypeLib::IMyStream& MyStream() override { return *this; }
  VantorTypeLib::IMessages& Messages() override { return *this; }

 private:
  using Variant = VantorTypeLib::Variant;
  void UserInteraction() override {}
  void SetChannel(Variant& channel, Variant& value, const Variant& flag) override {
    FUZZ_REQUIRE(channel.value >= 1 && channel.value <= 1024);
    if (checkValues) FUZZ_REQUIRE(value.value >= 0 && value.value <= 255);
    FUZZ_REQUIRE(flag.type == Variant::Type::Boolean && flag.value == -1);
    ++channelsSent;
  }
  void Send(const Variant& message, const Variant& arg1, const Variant& arg2) override {
    FUZZ_REQUIRE(message.value == 9 && arg1.value == 1 && arg2.value == 0);
    ++beatsSent;
  }
};

}  // namespace fuzz
