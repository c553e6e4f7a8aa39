#include "engine/beat_detector.h"
#include "engine/level_scale.h"
#include "ui/Main.h"

// Beat: Balken watches the output value of the chosen bar, which the bar
// evaluation of the same tick left in beatBarLevel.
void Main::SetBeats() {
  const std::int16_t pc = engine::channelPercent(beatBarLevel);
  engine::showOnMeter(LEDMeter3, pc);
  const bool on = pc > engine::thresholdPercent(beatBarThreshold);
  engine::flashBeat(on, Frame8, Arrays::outputChannels[Arrays::kBeatBar], Option1[2], beatBarState);
}
