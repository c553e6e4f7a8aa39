#include "audio/modVbVis10.h"
#include "engine/beat_detector.h"
#include "engine/level_scale.h"
#include "ui/Main.h"

// Beat: Analyzer watches one spectrum pixel, unboosted, against its beat
// threshold. A pixel the bridge did not report reads as 0.
void Main::SetBeat(std::int32_t side) {
  const std::span<const std::uint8_t> spectrum = modVbVis10::GetSpectrum(side);
  const int index = beatPixel - 1;
  const std::uint8_t bin = index >= 0 && static_cast<std::size_t>(index) < spectrum.size() ? spectrum[index] : 0;
  const std::int16_t pc = engine::roundToInt16(bin / 255.0 * 100);
  engine::showOnMeter(LEDMeter2, pc);
  const bool on = pc > engine::thresholdPercent(beatPixelThreshold);
  engine::flashBeat(on, Frame4, Arrays::outputChannels[Arrays::kBeatAnalyzer], Option1[1], beatPixelState);
}
