#include <algorithm>

#include "audio/modVbVis10.h"
#include "engine/spectrum.h"
#include "toolkit/colors.h"
#include "ui/Main.h"

// The analyzer picture: each pixel up to the spectrum width scaled to the
// drawing height with the boost, kept for the bar evaluation and drawn as a
// dash 25 twips wide and 1 twip high. Pixels beyond the width keep their
// heights of earlier ticks; bins the bridge did not report read as 0.
void Main::SetSpectrum(std::int32_t side) {
  const std::span<const std::uint8_t> spectrum = modVbVis10::GetSpectrum(side);
  const int last = std::min<int>(lastPixel, static_cast<int>(pixelHeights.size()) - 1);
  for (int j = 0; j <= last; ++j) {
    const std::int32_t bin = static_cast<std::size_t>(j) < spectrum.size() ? spectrum[j] : 0;
    const std::int32_t h = engine::pixelHeight(bin, drawHeight, spectrumBoost);
    pixelHeights[static_cast<std::size_t>(j)] = h;
    const std::int32_t x = (j + 1) * 50 + drawLeft;
    lineBox(static_cast<float>(x), static_cast<float>(drawBase + 1 - h), static_cast<float>(x + 25),
            static_cast<float>(drawBase - h), tk::kPalette0, true);
  }
}
