#pragma once
// The bar definition dialog ("Balken definieren"): edits one bar of the
// shared table. The slot it writes is fixed when it loads, from `barToEdit`;
// several can be open at once. "OK" stores what the 100 ms sampling timer
// last took from the controls and rebuilds Main's bar list.
#include <cstdint>

#include "model/arrays.h"
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/form.h"
#include "toolkit/ranged_control.h"
#include "toolkit/simple_controls.h"
#include "toolkit/timer.h"

class Presets_Channel : public tk::Form {
 public:
  static constexpr std::int16_t kNoSlot = -1;

  Presets_Channel();

  std::int16_t barSlot = 0;  // kNoSlot: no slot of its own (no request, or all in use)
  Arrays::Bar working{};     // fields 1..7 as last sampled; `number` is unused

  void Preset_Werte_laden();
  void Timer1_Timer();
  void Command1_Click();  // "OK"
  void Command2_Click();  // "Abbrechen"
  void Command3_Click();  // "Kanäle"

  tk::Label Label10{*this, "Label10", "Von:                              Bis:"};
  tk::ComboBox Combo1{*this, "Combo1"};
  tk::ComboBox Combo2{*this, "Combo2"};
  tk::Frame Frame1{*this, "Frame1"};
  tk::CheckBox Check1{*this, "Check1", "Spektrumsanhebung:"};
  tk::Label Label1{*this, "Label1", "200%"};
  tk::Slider Slider1{*this, "Slider1", {.value = 100, .min = 1, .max = 200, .smallChange = 1, .largeChange = 5, .tickFrequency = 10}};
  tk::Label Label12{*this, "Label12", "Schaltschwelle:"};
  tk::Label Label2{*this, "Label2", "255"};
  tk::Slider Slider2{*this, "Slider2", {.value = 1, .min = 1, .max = 255, .smallChange = 1, .largeChange = 5, .tickFrequency = 20}};
  tk::CheckBox Check2{*this, "Check2", "bei \xC3\x9C" "berschreiten setzen auf:"};
  tk::Label Label3{*this, "Label3", "255"};
  tk::Slider Slider3{*this, "Slider3", {.value = 1, .min = 1, .max = 255, .smallChange = 1, .largeChange = 5, .tickFrequency = 20}};
  tk::CommandButton Command3{*this, "Command3", "Kan\xC3\xA4le"};
  tk::CommandButton Command1{*this, "Command1", "OK"};
  tk::CommandButton Command2{*this, "Command2", "Abbrechen"};
  tk::Timer Timer1{*this, "Timer1", {100, true}};

 protected:
  void Form_Load() override;

 private:
  void placeControls();
  // Takes the working copy from the controls (the timer's sampling without
  // the value labels).
  void sampleControls();
};
