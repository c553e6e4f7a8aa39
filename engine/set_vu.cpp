#include "engine/beat_detector.h"
#include "engine/channel_lists.h"
#include "engine/level_scale.h"
#include "audio/modVbVis10.h"
#include "ui/Main.h"

// The two VU outputs: the side's level, switched by the VU threshold, to the
// side's channel list; both meters show what was computed, muted or not.
void Main::SetVU(std::int32_t side) {
  const std::int16_t p = engine::levelPercent(modVbVis10::GetVU(side));
  const double q = p * 2.55;
  std::int32_t value = 0;
  if (q > VScroll6.value()) value = Check7.value() == 1 ? VScroll7.value() : engine::roundToInt32(p * 2.55);
  (side == 0 ? vuLeftValue : vuRightValue) = value;
  if (Check8.value() == 0)
    engine::sendToList(Arrays::outputChannels[side == 0 ? Arrays::kVuLeft : Arrays::kVuRight], value);
  engine::showOnMeter(LEDMeter4, engine::channelPercent(vuLeftValue));
  engine::showOnMeter(LEDMeter5, engine::channelPercent(vuRightValue));
}
