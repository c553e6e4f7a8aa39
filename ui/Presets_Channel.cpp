#include "ui/Presets_Channel.h"

#include "engine/spectrum.h"
#include "toolkit/format.h"
#include "ui/Kanaele.h"
#include "ui/Main.h"
#include "ui/bar_list.h"

namespace {

constexpr int kPixels = engine::kSpectrumPixels;

// A pixel box shows entry `pixel` - 1; a pixel outside 1..288 leaves it empty.
void selectPixel(tk::ComboBox& box, int pixel) {
  box.setListIndex(pixel >= 1 && pixel <= kPixels ? pixel - 1 : -1);
}

}  // namespace

Presets_Channel::Presets_Channel() : tk::Form("Presets_Channel", "Balken definieren", 3240, 4200) {
  placeControls();
  Timer1.onTimer = [this] { Timer1_Timer(); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  setBorderStyle(tk::BorderStyle::FixedDialog);
  finishDesign();
}

// Twips. The frame at 120, 600 groups the sliders' labels; the check boxes
// and Slider3 belong to the window and stand inside the frame's area.
void Presets_Channel::placeControls() {
  Label10.place(nullptr, 120, 180, 3000, 255);
  Combo1.place(nullptr, 600, 120, 855, 315);
  Combo2.place(nullptr, 2400, 120, 735, 315);
  Frame1.place(nullptr, 120, 600, 3000, 2820);
  Check1.place(nullptr, 240, 720, 2430, 255);
  Label1.place(&Frame1, 2550, 120, 450, 255);
  Slider1.place(&Frame1, 60, 420, 2880, 315);
  Label12.place(&Frame1, 120, 840, 1455, 255);
  Label2.place(&Frame1, 2700, 840, 300, 255);
  Slider2.place(&Frame1, 60, 1140, 2880, 315);
  Check2.place(nullptr, 240, 2160, 2580, 255);
  Label3.place(&Frame1, 2700, 1560, 300, 255);
  Slider3.place(nullptr, 180, 2460, 2880, 315);
  Command3.place(&Frame1, 120, 2340, 1215, 375);
  Command1.place(nullptr, 120, 3600, 1215, 375);
  Command2.place(nullptr, 1905, 3600, 1215, 375);
}

void Presets_Channel::Form_Load() {
  for (int pixel = 1; pixel <= kPixels; ++pixel) {
    Combo1.addItem(tk::fmt::number(pixel));
    Combo2.addItem(tk::fmt::number(pixel));
  }
  Combo1.setListIndex(0);
  Combo2.setListIndex(kPixels - 1);
  if (Arrays::barToEdit == -1) {
    barSlot = static_cast<std::int16_t>(Arrays::firstFreeSlot());  // kNoSlot when all are in use
  } else if (Arrays::barToEdit >= 1 && Arrays::barToEdit <= Arrays::kBarSlots) {
    barSlot = static_cast<std::int16_t>(Arrays::barToEdit - 1);
    Preset_Werte_laden();
  } else {
    barSlot = kNoSlot;
  }
  // "OK" before the first sampling must store what the dialog shows, not zeros.
  sampleControls();
}

// A free slot's zeros and anything outside a control's range load safely:
// pixel boxes stay empty, sliders clamp, the check box stays clear.
void Presets_Channel::Preset_Werte_laden() {
  const Arrays::Bar& bar = Arrays::bars[barSlot];
  selectPixel(Combo1, bar.fromPixel);
  selectPixel(Combo2, bar.toPixel);
  Slider1.setValue(bar.boostPercent);
  // Ticked for a boost other than 100, so that "OK" keeps the bar's boost.
  if (Arrays::holdsBar(barSlot) && bar.boostPercent != 100) Check1.setValue(1);
  Slider2.setValue(bar.threshold);
  if (!Check2.setValue(bar.setOnExceed)) Check2.setValue(0);
  Slider3.setValue(bar.setValue);
}

void Presets_Channel::Timer1_Timer() {
  namespace fmt = tk::fmt;
  Label1.setCaption(Check1.value() == 1 ? fmt::number(Slider1.value()) + "%" : "100");
  Label2.setCaption(fmt::number(Slider2.value()));
  Label3.setCaption(fmt::number(Slider3.value()));
  sampleControls();
}

void Presets_Channel::sampleControls() {
  working.fromPixel = static_cast<std::int16_t>(Combo1.listIndex() + 1);  // 0: nothing selected
  working.toPixel = static_cast<std::int16_t>(Combo2.listIndex() + 1);
  working.boostPercent = static_cast<std::int16_t>(Check1.value() == 1 ? Slider1.value() : 100);
  working.threshold = static_cast<std::int16_t>(Slider2.value());
  working.setOnExceed = static_cast<std::uint8_t>(Check2.value());
  working.setValue = static_cast<std::int16_t>(Slider3.value());
}

void Presets_Channel::Command1_Click() {
  if (barSlot != kNoSlot) {
    working.channelSummary = Arrays::channelSummary(Arrays::barChannels[barSlot]);
    Arrays::Bar stored = working;
    stored.number = static_cast<std::int16_t>(barSlot + 1);
    Arrays::bars[barSlot] = stored;
    rebuildBarList(mainForm().ListView1);
  }
  Arrays::barToEdit = 0;
  unload();
}

void Presets_Channel::Command2_Click() {
  Arrays::barToEdit = 0;
  unload();
}

void Presets_Channel::Command3_Click() {
  if (barSlot == kNoSlot) return;
  Arrays::editedList = Arrays::kBarList;
  Arrays::editedBar = barSlot;
  Kanaele::showForEditedList();
}
