#include "audio/modVbVis10.h"
#include "engine/beat.h"
#include "toolkit/colors.h"
#include "ui/Main.h"
#include "ui/stage_outputs.h"

namespace {

// What the three detectors do alike once they know whether they are on:
// colour the flash box, flash the channel list with 255 or write 0, and move
// the beat state only while the detector is the beat-tool source.
void flashBeat(bool on, tk::Frame& flashBox, const Arrays::ChannelList& list, const tk::OptionButton& source,
               std::uint8_t& state) {
  flashBox.setBackColor(on ? tk::kRed : tk::kButtonFace);
  sendToList(list, on ? 255 : 0);
  if (source.value()) state = on ? 1 : 0;
}

}  // namespace

// Beat: VU watches the level of one side against its beat threshold.
void Main::SetBeatVu(std::int32_t side) {
  const std::int16_t p = engine::levelPercent(modVbVis10::GetVU(side));
  showOnMeter(LEDMeter1, p);
  flashBeat(engine::beatOn(p, beatVuThreshold), Frame1, Arrays::outputChannels[Arrays::kBeatVu], Option1[0],
            beatVuState);
}

// Beat: Analyzer watches one spectrum pixel, unboosted, against its beat
// threshold. A pixel the bridge did not report reads as 0.
void Main::SetBeat(std::int32_t side) {
  const std::span<const std::uint8_t> spectrum = modVbVis10::GetSpectrum(side);
  const int index = beatPixel - 1;
  const std::uint8_t bin = index >= 0 && static_cast<std::size_t>(index) < spectrum.size() ? spectrum[index] : 0;
  const std::int16_t pc = engine::binPercent(bin);
  showOnMeter(LEDMeter2, pc);
  flashBeat(engine::beatOn(pc, beatPixelThreshold), Frame4, Arrays::outputChannels[Arrays::kBeatAnalyzer],
            Option1[1], beatPixelState);
}

// Beat: Balken watches the output value of the chosen bar, which the bar
// evaluation of the same tick left in beatBarLevel.
void Main::SetBeats() {
  const std::int16_t pc = engine::channelPercent(beatBarLevel);
  showOnMeter(LEDMeter3, pc);
  flashBeat(engine::beatOn(pc, beatBarThreshold), Frame8, Arrays::outputChannels[Arrays::kBeatBar], Option1[2],
            beatBarState);
}
