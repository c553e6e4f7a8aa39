#include <string>

#include "engine/level_scale.h"
#include "model/arrays.h"
#include "toolkit/colors.h"
#include "ui/Main.h"

namespace {

void moveMarker(tk::Line& line, double bottom, double span, std::int16_t threshold) {
  line.setY(engine::markerY(bottom, span, threshold));
}

// The lowest free slot; all 288 in use leaves the previous count.
std::int16_t countBars(std::int16_t previous) {
  const int free = Arrays::firstFreeSlot();
  return free < 0 ? previous : static_cast<std::int16_t>(free);
}

}  // namespace

// The 75 ms engine tick: copy the parameters, keep the displays in step,
// then spectrum, bars, levels, the three detectors, the markers and the
// beat messages, in that order.
void Main::Timer1_Timer() {
  Cls();
  Arrays::dmxOutputActive = static_cast<std::uint8_t>(Check5.value());
  vuThreshold = static_cast<std::int16_t>(VScroll6.value());
  Text3.setText(std::to_string(VScroll6.value()));
  vuSetValue = static_cast<std::int16_t>(VScroll7.value());
  Text4.setText(std::to_string(VScroll7.value()));
  beatVuThreshold = static_cast<std::int16_t>(VScroll3.value());
  if (VScroll8.value() == 0) Text5.setText("L");
  if (VScroll8.value() == 1) Text5.setText("R");
  lastPixel = static_cast<std::int16_t>(Slider3.value() - 1);
  Label3.setCaption(std::to_string(Slider3.value()));
  spectrumThreshold = static_cast<std::int16_t>(Slider2.value());
  Label6.setCaption(std::to_string(Slider2.value()));
  spectrumSetValue = static_cast<std::int16_t>(Slider4.value());
  Label7.setCaption(std::to_string(Slider4.value()));
  // Shows the boost of the previous tick: it is updated only below.
  Label4.setCaption(std::to_string(spectrumBoost) + "%");
  spectrumBoost = static_cast<std::int16_t>(Check1.value() == 1 ? Slider1.value() : 100);
  beatPixel = static_cast<std::int16_t>(VScroll1.value());
  Text2.setText(std::to_string(VScroll1.value()));
  beatPixelThreshold = static_cast<std::int16_t>(VScroll2.value());
  // The watched pixel stays inside the spectrum width from the next tick on.
  if (VScroll1.value() > Slider3.value()) VScroll1.setValue(Slider3.value());
  VScroll1.setMin(Slider3.value());
  Text1.setText(std::to_string(VScroll4.value()));
  beatBarThreshold = static_cast<std::int16_t>(VScroll5.value());
  barCount = countBars(barCount);
  VScroll4.setMin(barCount);
  if (VScroll4.min() == 0) VScroll4.setMin(1);
  restorePendingBeatBar();

  SetSpectrum(0);
  EvaluateBars();
  SetVU(0);
  SetVU(1);
  moveMarker(Line4, 4020, 3720, vuThreshold);

  if (Check3.value() == 1) {
    SetBeatVu(VScroll8.value() == 0 ? 0 : 1);
    Option1[0].setEnabled(true);
  } else {
    Option1[0].setEnabled(false);
    LEDMeter1.clear();
    Frame1.setBackColor(tk::kButtonFace);
    beatVuState = 0;
  }
  moveMarker(Line2, 3840, 3135, beatVuThreshold);

  if (Check2.value() == 1) {
    SetBeat(0);
    Option1[1].setEnabled(true);
  } else {
    Option1[1].setEnabled(false);
    LEDMeter2.clear();
    Frame4.setBackColor(tk::kButtonFace);
    beatPixelState = 0;
  }
  // The watched pixel: a 1-twip line through the middle of its column.
  const double pixelX = drawLeft + 50.0 * beatPixel;
  lineBox(static_cast<float>(pixelX + 11.5), static_cast<float>(drawBase), static_cast<float>(pixelX + 12.5),
          static_cast<float>(drawBase - drawHeight), tk::kPalette6, true);
  moveMarker(Line1, 3840, 3135, beatPixelThreshold);

  if (Check4.value() == 1) {
    SetBeats();
    Option1[2].setEnabled(true);
  } else {
    Option1[2].setEnabled(false);
    LEDMeter3.clear();
    Frame8.setBackColor(tk::kButtonFace);
    beatBarState = 0;
  }
  moveMarker(Line3, 3840, 3135, beatBarThreshold);
  moveMarker(Line5, 1560, 1320, spectrumThreshold);

  Beat_berechnen();
}

// The bar number that the settings file named for Beat: Balken comes back
// once that many bars exist; the user moving the scroll bar first wins.
void Main::restorePendingBeatBar() {
  if (pendingBeatBar != 0 && pendingBeatBar <= VScroll4.high()) {
    VScroll4.setValue(pendingBeatBar);
    pendingBeatBar = 0;
  }
}
