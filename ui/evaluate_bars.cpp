#include "engine/spectrum.h"
#include "engine/threshold.h"
#include "model/arrays.h"
#include "toolkit/colors.h"
#include "ui/Main.h"
#include "ui/stage_outputs.h"

// Every bar up to the highest slot that holds one: the band's average back
// on the 0..255 scale, boosted, through the global and the bar's threshold,
// drawn and sent to the bar's list. Free slots below the highest bar and
// bars without a pixel inside 1..288 are skipped.
void Main::EvaluateBars() {
  const int count = Arrays::highestBarSlot() + 1;
  const engine::StripScale scale(drawHeight);
  for (int b = 0; b < count; ++b) {
    if (!Arrays::holdsBar(b)) continue;
    const Arrays::Bar& bar = Arrays::bars[b];
    const engine::Band band = engine::clippedBand(bar.fromPixel, bar.toPixel);
    if (band.empty()) continue;
    std::int32_t value = scale.bandValue(pixelHeights, band, bar.boostPercent);
    value = engine::applyThreshold(value, {spectrumThreshold, Check6.value() == 1, spectrumSetValue});
    value = engine::applyThreshold(value, {bar.threshold, bar.setOnExceed == 1, bar.setValue});
    const std::int16_t height = scale.height(value);

    const float x1 = static_cast<float>(drawLeft + 50 * band.lo);
    const float x2 = static_cast<float>(drawLeft + 50 * band.hi + 25);
    const float y1 = static_cast<float>(drawBase);
    const float y2 = static_cast<float>(drawBase - height);
    const bool watched = b == VScroll4.value() - 1;
    if (watched) beatBarLevel = static_cast<std::int16_t>(value);
    lineBox(x1, y1, x2, y2, watched ? tk::kPalette10 : tk::kPalette1, true);
    lineBox(x1, y1, x2, y2, tk::kPalette0, false);
    const double mark = scale.mark(bar.threshold);
    lineBox(x1, static_cast<float>((drawBase + 1) - mark), x2, static_cast<float>(drawBase - mark), tk::kPalette4,
            true);

    if (Check9.value() == 0) sendToList(Arrays::barChannels[b], value);
  }
}
