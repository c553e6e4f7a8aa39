#include "audio/modVbVis10.h"
#include "engine/beat_detector.h"
#include "engine/level_scale.h"
#include "ui/Main.h"

// Beat: VU watches the level of one side against its beat threshold.
void Main::SetBeatVu(std::int32_t side) {
  const std::int16_t p = engine::levelPercent(modVbVis10::GetVU(side));
  engine::showOnMeter(LEDMeter1, p);
  const bool on = p > engine::thresholdPercent(beatVuThreshold);
  engine::flashBeat(on, Frame1, Arrays::outputChannels[Arrays::kBeatVu], Option1[0], beatVuState);
}
