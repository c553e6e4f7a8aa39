#include "audio/modVbVis10.h"
#include "engine/level_scale.h"
#include "ui/Main.h"
#include "ui/stage_outputs.h"

// The two VU outputs: the side's level, switched by the VU threshold, to the
// side's channel list; both meters show what was computed, muted or not.
void Main::SetVU(std::int32_t side) {
  const std::int16_t p = engine::levelPercent(modVbVis10::GetVU(side));
  const std::int32_t value = engine::vuValue(p, {VScroll6.value(), Check7.value() == 1, VScroll7.value()});
  (side == 0 ? vuLeftValue : vuRightValue) = value;
  if (Check8.value() == 0) sendToList(Arrays::outputChannels[side == 0 ? Arrays::kVuLeft : Arrays::kVuRight], value);
  showOnMeter(LEDMeter4, engine::channelPercent(vuLeftValue));
  showOnMeter(LEDMeter5, engine::channelPercent(vuRightValue));
}
