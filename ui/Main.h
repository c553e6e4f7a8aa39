#pragma once
// The main window: every engine parameter as a control, the spectrum
// drawing, the level meters, the bar list and the two timers that drive the
// engine. The routines of the tick read its controls, compute with engine/
// and write its controls and the channels; its variables are MainVariables.
#include <cstdint>

#include "engine/spectrum.h"
#include "interface/VantorTypeLib.h"
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/control_array.h"
#include "toolkit/form.h"
#include "toolkit/level_meter.h"
#include "toolkit/line.h"
#include "toolkit/list_view.h"
#include "toolkit/option_button.h"
#include "toolkit/ranged_control.h"
#include "toolkit/simple_controls.h"
#include "toolkit/timer.h"
#include "ui/main_variables.h"

class Main : public tk::Form, public VantorTypeLib::IVantorTool, public MainVariables {
  // The threshold scroll bars run upside down: the top end is 255.
  static constexpr tk::RangeState kThresholdScroll{.value = 1, .min = 255, .max = 1, .smallChange = 1, .largeChange = 10};

 public:
  Main();

  // IVantorTool: the plug-in keeps no project data.
  bool AskToSaveProjectData() override { return false; }
  void ClearProjectData() override {}
  void LoadProjectData() override {}
  void SaveProjectData() override {}
  void ViewMode(std::int32_t) override {}

  // The tick and its stages.
  void Timer1_Timer();
  void Timer2_Timer();
  void SetSpectrum(std::int32_t side);
  void EvaluateBars();
  void SetVU(std::int32_t side);
  void SetBeatVu(std::int32_t side);
  void SetBeat(std::int32_t side);
  void SetBeats();
  void Beat_berechnen();
  void restorePendingBeatBar();

  // The settings file (ui/main_settings.cpp).
  void load_settings();
  void save_settings();

  // Commands.
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Label5_Click();
  void Label13_Click();
  void Label14_Click();
  void Label15_Click();
  void Label16_Click();
  void KanaeleFormLoad();

  // Spectrum strip.
  tk::Shape Shape1{*this, "Shape1"};
  tk::Line Line5{*this, "Line5", {120, 1560, 14850, 1560, tk::kRed}};

  // "VU:"
  tk::Frame Frame9{*this, "Frame9", "VU:"};
  tk::CheckBox Check8{*this, "Check8", "Mute", 1};
  tk::LevelMeter LEDMeter4{*this, "LEDMeter4"};
  tk::LevelMeter LEDMeter5{*this, "LEDMeter5"};
  tk::Label Label5{*this, "Label5", "L"};
  tk::Label Label13{*this, "Label13", "R"};
  tk::Line Line4{*this, "Line4", {60, 4020, 1020, 4020, tk::kRed}};
  tk::VScrollBar VScroll6{*this, "VScroll6", kThresholdScroll};
  tk::VScrollBar VScroll7{*this, "VScroll7", kThresholdScroll};
  tk::TextBox Text3{*this, "Text3", "1"};
  tk::TextBox Text4{*this, "Text4", "1"};
  tk::CheckBox Check7{*this, "Check7"};
  tk::Label Label8{*this, "Label8", "SS       b\xC3\x9C" "sa"};

  // "Beat: VU"
  tk::Frame Frame2{*this, "Frame2", "Beat: VU"};
  tk::CheckBox Check3{*this, "Check3"};
  tk::Frame Frame1{*this, "Frame1"};
  tk::LevelMeter LEDMeter1{*this, "LEDMeter1"};
  tk::Line Line2{*this, "Line2", {60, 3840, 1020, 3840, tk::kGreen}};
  tk::Label Label12{*this, "Label12", "BS"};
  tk::VScrollBar VScroll3{*this, "VScroll3", kThresholdScroll};
  tk::VScrollBar VScroll8{*this, "VScroll8", {.value = 0, .min = 1, .max = 0, .smallChange = 1, .largeChange = 1}};
  tk::TextBox Text5{*this, "Text5", "R"};
  tk::Label Label14{*this, "Label14", "ch"};

  // "Beat: Analyzer"
  tk::Frame Frame3{*this, "Frame3", "Beat: Analyzer"};
  tk::CheckBox Check2{*this, "Check2"};
  tk::Frame Frame4{*this, "Frame4"};
  tk::LevelMeter LEDMeter2{*this, "LEDMeter2"};
  tk::Line Line1{*this, "Line1", {60, 3840, 1020, 3840, tk::kGreen}};
  tk::Label Label11{*this, "Label11", "BS"};
  tk::VScrollBar VScroll2{*this, "VScroll2", kThresholdScroll};
  tk::VScrollBar VScroll1{*this, "VScroll1", {.value = 1, .min = engine::kSpectrumPixels, .max = 1, .smallChange = 1, .largeChange = 10}};
  tk::TextBox Text2{*this, "Text2", "1"};
  tk::Label Label15{*this, "Label15", "ch"};

  // "Beat: Balken"
  tk::Frame Frame7{*this, "Frame7", "Beat: Balken"};
  tk::CheckBox Check4{*this, "Check4"};
  tk::Frame Frame8{*this, "Frame8"};
  tk::LevelMeter LEDMeter3{*this, "LEDMeter3"};
  tk::Line Line3{*this, "Line3", {60, 3840, 1020, 3840, tk::kGreen}};
  tk::Label Label10{*this, "Label10", "BS"};
  tk::VScrollBar VScroll5{*this, "VScroll5", kThresholdScroll};
  tk::VScrollBar VScroll4{*this, "VScroll4", {.value = 1, .min = 1, .max = 1, .smallChange = 1, .largeChange = 1}};
  tk::TextBox Text1{*this, "Text1", "1"};
  tk::Label Label16{*this, "Label16", "ch"};

  // Beat-tool source: one group of four on the window.
  tk::ControlArray<tk::OptionButton> Option1;

  // "Spektrum Analyzer:"
  tk::Frame Frame5{*this, "Frame5", "Spektrum Analyzer:"};
  tk::CheckBox Check9{*this, "Check9", "Mute", 1};
  tk::Label Label1{*this, "Label1", "Spektrumbreite:"};
  tk::Slider Slider3{*this, "Slider3", {.value = engine::kSpectrumPixels, .min = 1, .max = engine::kSpectrumPixels, .smallChange = 1, .largeChange = 5, .tickFrequency = 16}};
  tk::Label Label3{*this, "Label3", "288"};
  tk::CheckBox Check1{*this, "Check1", "Spektrumsanhebung:"};
  tk::Slider Slider1{*this, "Slider1", {.value = 100, .min = 1, .max = 200, .smallChange = 1, .largeChange = 5, .tickFrequency = 10}};
  tk::Label Label4{*this, "Label4", "200%"};
  tk::Label Label9{*this, "Label9", "Schaltschwelle:"};
  tk::Slider Slider2{*this, "Slider2", {.value = 1, .min = 1, .max = 255, .smallChange = 1, .largeChange = 5, .tickFrequency = 15}};
  tk::Label Label6{*this, "Label6", "255"};
  tk::CheckBox Check6{*this, "Check6", "bei \xC3\x9C" "berschreiten setzen auf:"};
  tk::Slider Slider4{*this, "Slider4", {.value = 1, .min = 1, .max = 255, .smallChange = 1, .largeChange = 5, .tickFrequency = 15}};
  tk::Label Label7{*this, "Label7", "255"};

  // "Sonstiges:"
  tk::Frame Frame10{*this, "Frame10", "Sonstiges:"};
  tk::CheckBox Check5{*this, "Check5", "DMX-Ausgabe aktiv"};

  // "Balken:"
  tk::Frame Frame6{*this, "Frame6", "Balken:"};
  tk::ListView ListView1{*this, "ListView1"};
  tk::CommandButton Command1{*this, "Command1", "+"};
  tk::CommandButton Command3{*this, "Command3", "-"};
  tk::CommandButton Command2{*this, "Command2", "Edit"};
  tk::CommandButton Command4{*this, "Command4", "?"};

  tk::Timer Timer1{*this, "Timer1", {1000, false}};
  tk::Timer Timer2{*this, "Timer2", {1000, false}};

 protected:
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, tk::UnloadMode mode) override;

 private:
  void placeControls();
  void connectHandlers();
};

// The single main window of the process, created on first use.
Main& mainForm();
