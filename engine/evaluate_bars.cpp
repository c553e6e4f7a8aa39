#include <algorithm>

#include "engine/channel_lists.h"
#include "engine/rounding.h"
#include "model/arrays.h"
#include "toolkit/colors.h"
#include "ui/Main.h"

namespace {

constexpr std::int16_t kPixels = 288;

// A bar's band clipped to the spectrum pixels 1..288; empty when no pixel
// of it is left.
struct Band {
  std::int16_t lo, hi;
  bool empty() const { return hi < lo; }
};

Band clippedBand(const Arrays::Bar& bar) {
  return {std::max<std::int16_t>(bar.fromPixel, 1), std::min<std::int16_t>(bar.toPixel, kPixels)};
}

// Strict: a value equal to the threshold switches off.
std::int32_t applyThreshold(std::int32_t value, std::int32_t threshold, bool setOnExceed, std::int32_t setValue) {
  if (value <= threshold) return 0;
  return setOnExceed ? setValue : value;
}

}  // namespace

// Every bar up to the highest slot that holds one: the band's average back
// on the 0..255 scale, boosted, through the global and the bar's threshold,
// drawn and sent to the bar's list. Free slots below the highest bar and
// bars without a pixel inside 1..288 are skipped.
void Main::EvaluateBars() {
  const int count = Arrays::highestBarSlot() + 1;
  const double heightPerLevel = drawHeight / 255.0;
  const double levelPerHeight = 255.0 / drawHeight;
  for (int b = 0; b < count; ++b) {
    if (!Arrays::holdsBar(b)) continue;
    const Arrays::Bar& bar = Arrays::bars[b];
    const Band band = clippedBand(bar);
    if (band.empty()) continue;
    const std::int16_t width = static_cast<std::int16_t>(band.hi - band.lo + 1);
    std::int32_t sum = 0;
    for (int k = band.lo - 1; k <= band.hi - 1; ++k) sum += pixelHeights[static_cast<std::size_t>(k)];
    const double level = (static_cast<double>(sum) / width) * levelPerHeight;

    std::int32_t value = engine::roundToInt32(level * (bar.boostPercent / 100.0));
    value = std::clamp(value, 0, 255);
    value = applyThreshold(value, spectrumThreshold, Check6.value() == 1, spectrumSetValue);
    value = applyThreshold(value, bar.threshold, bar.setOnExceed == 1, bar.setValue);
    const std::int16_t height = engine::roundToInt16(value * heightPerLevel);

    const float x1 = static_cast<float>(drawLeft + 50 * band.lo);
    const float x2 = static_cast<float>(drawLeft + 50 * band.hi + 25);
    const float y1 = static_cast<float>(drawBase);
    const float y2 = static_cast<float>(drawBase - height);
    const bool watched = b == VScroll4.value() - 1;
    if (watched) beatBarLevel = static_cast<std::int16_t>(value);
    lineBox(x1, y1, x2, y2, watched ? tk::kPalette10 : tk::kPalette1, true);
    lineBox(x1, y1, x2, y2, tk::kPalette0, false);
    const double mark = bar.threshold / levelPerHeight;
    lineBox(x1, static_cast<float>((drawBase + 1) - mark), x2, static_cast<float>(drawBase - mark), tk::kPalette4,
            true);

    if (Check9.value() == 0) engine::sendToList(Arrays::barChannels[b], value);
  }
}
