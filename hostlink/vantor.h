#pragma once
// Module Vantor: the only place that calls the host's helper object.
#include <cstdint>
#include <memory>

#include "interface/VantorTypeLib.h"

namespace Vantor {

extern std::shared_ptr<VantorTypeLib::IPluginHelper> pluginHelper;
extern std::uint8_t outputWasActive;  // 1 after a value was sent while output was on
extern std::int32_t sweepCounter;     // channel of the switch-off sweep

// Sends one channel value while output is on; the first call after output
// was switched off sets all 1024 channels to 0 instead.
void OutputChannel(std::int32_t channel, std::int32_t& value);
// Hands one beat to the host's beat tool.
void SendBeat();

}  // namespace Vantor
