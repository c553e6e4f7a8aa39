#include <memory>

#include "ui/Main.h"

namespace {

void place(tk::Control& c, tk::Control* container, int left, int top, int width, int height) {
  c.setContainer(container);
  c.setGeometry({left, top, width, height});
}

}  // namespace

Main::Main() : tk::Form("Main", "Sonvero", 15000, 6270) {
  Option1.add(*this, "Option1", 0, "Beat-Tool");
  Option1.add(*this, "Option1", 1, "Beat-Tool");
  Option1.add(*this, "Option1", 2, "Beat-Tool");
  Option1.add(*this, "Option1", 3, "Beat-Tool Aus", true);
  placeControls();
  connectHandlers();
  finishDesign();
}

// Places in twips, relative to the group box that holds a control. The
// meters and the threshold scroll bars of the beat groups share the scale of
// their marker lines: 0..255 onto y 3840..705 (VU: 4020..300).
void Main::placeControls() {
  place(Shape1, nullptr, 120, 240, 14730, 1335);
  Shape1.setBackColor(tk::kWhite);

  place(Frame9, nullptr, 120, 1680, 2280, 4440);
  place(Check8, &Frame9, 1080, 0, 855, 255);
  place(LEDMeter4, &Frame9, 120, 300, 375, 3720);
  place(LEDMeter5, &Frame9, 600, 300, 375, 3720);
  place(Label5, &Frame9, 180, 4080, 255, 255);
  place(Label13, &Frame9, 660, 4080, 255, 255);
  place(VScroll6, &Frame9, 1200, 300, 255, 3000);
  place(VScroll7, &Frame9, 1800, 300, 255, 3000);
  place(Text3, &Frame9, 1080, 3360, 495, 285);
  place(Text4, &Frame9, 1680, 3360, 495, 285);
  place(Check7, &Frame9, 1800, 3720, 255, 255);
  place(Label8, &Frame9, 1080, 4080, 1095, 255);

  place(Frame2, nullptr, 2520, 1680, 1920, 4440);
  place(Check3, &Frame2, 960, 0, 255, 255);
  place(Frame1, &Frame2, 1320, 240, 495, 375);
  place(LEDMeter1, &Frame2, 120, 705, 375, 3135);
  place(Label12, &Frame2, 660, 420, 375, 255);
  place(VScroll3, &Frame2, 720, 705, 255, 3135);
  place(VScroll8, &Frame2, 1440, 1200, 255, 735);
  place(Text5, &Frame2, 1380, 2040, 375, 285);
  place(Label14, &Frame2, 1440, 3480, 375, 255);

  place(Frame3, nullptr, 4560, 1680, 1680, 4440);
  place(Check2, &Frame3, 1320, 0, 255, 255);
  place(Frame4, &Frame3, 1080, 240, 495, 375);
  place(LEDMeter2, &Frame3, 120, 705, 375, 3135);
  place(Label11, &Frame3, 600, 420, 375, 255);
  place(VScroll2, &Frame3, 660, 705, 255, 3135);
  place(VScroll1, &Frame3, 1200, 705, 255, 2400);
  place(Text2, &Frame3, 1080, 3180, 495, 285);
  place(Label15, &Frame3, 1200, 3540, 375, 255);

  place(Frame7, nullptr, 6360, 1680, 1920, 4440);
  place(Check4, &Frame7, 1320, 0, 255, 255);
  place(Frame8, &Frame7, 1320, 240, 495, 375);
  place(LEDMeter3, &Frame7, 120, 705, 375, 3135);
  place(Label10, &Frame7, 660, 420, 375, 255);
  place(VScroll5, &Frame7, 720, 705, 255, 3135);
  place(VScroll4, &Frame7, 1440, 705, 255, 2400);
  place(Text1, &Frame7, 1320, 3180, 495, 285);
  place(Label16, &Frame7, 1440, 3540, 375, 255);

  // The four beat-tool buttons stand on one line at the foot of the groups;
  // they belong to the window so that they form one group.
  place(Option1[3], nullptr, 840, 5760, 1455, 255);
  place(Option1[0], nullptr, 2640, 5760, 1215, 255);
  place(Option1[1], nullptr, 4680, 5760, 1215, 255);
  place(Option1[2], nullptr, 6480, 5760, 1215, 255);

  place(Frame5, nullptr, 8400, 1680, 3120, 2520);
  place(Check9, &Frame5, 2040, 0, 855, 255);
  place(Label1, &Frame5, 120, 300, 1455, 255);
  place(Label3, &Frame5, 2400, 300, 615, 255);
  place(Slider3, &Frame5, 60, 540, 3000, 315);
  place(Check1, &Frame5, 120, 900, 1935, 255);
  place(Label4, &Frame5, 2400, 900, 615, 255);
  place(Slider1, &Frame5, 60, 1140, 3000, 315);
  place(Label9, &Frame5, 120, 1500, 1455, 255);
  place(Label6, &Frame5, 2400, 1500, 615, 255);
  place(Slider2, &Frame5, 60, 1740, 3000, 315);
  place(Check6, &Frame5, 120, 2100, 2295, 255);
  place(Label7, &Frame5, 2400, 2100, 615, 255);
  place(Slider4, &Frame5, 60, 2220, 3000, 285);

  place(Frame10, nullptr, 8400, 4320, 3120, 1800);
  place(Check5, &Frame10, 240, 360, 2400, 375);

  place(Frame6, nullptr, 11640, 1680, 3240, 4440);
  place(ListView1, &Frame6, 120, 240, 3000, 3600);
  place(Command1, &Frame6, 120, 3960, 375, 375);
  place(Command3, &Frame6, 1440, 3960, 375, 375);
  place(Command2, nullptr, 12240, 5640, 735, 375);
  place(Command4, nullptr, 14280, 5640, 375, 375);

  for (tk::Frame* flash : {&Frame1, &Frame4, &Frame8}) flash->setBackColor(tk::kButtonFace);
}

void Main::connectHandlers() {
  Timer1.onTimer = [this] { Timer1_Timer(); };
  Timer2.onTimer = [this] { Timer2_Timer(); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Command4.onClick = [this] { Command4_Click(); };
  Label5.onClick = [this] { Label5_Click(); };
  Label13.onClick = [this] { Label13_Click(); };
  Label14.onClick = [this] { Label14_Click(); };
  Label15.onClick = [this] { Label15_Click(); };
  Label16.onClick = [this] { Label16_Click(); };
}

void Main::Form_Load() {
  timerInterval = 75;
  Timer1.setInterval(timerInterval);
  Timer1.setTimerEnabled(true);
  timerInterval = 1000;
  Timer2.setInterval(timerInterval);
  Timer2.setTimerEnabled(true);
  drawLeft = 250;
  drawBase = 1500;
  drawHeight = 1250;
  ListView1.addColumn("min.", 500);
  ListView1.addColumn("max.", 500);
  ListView1.addColumn("Kan\xC3\xA4le", 1500);
  ListView1.setReportView(true);
  load_settings();
}

void Main::Form_QueryUnload(int&, tk::UnloadMode) { save_settings(); }

Main& mainForm() {
  static std::unique_ptr<Main> instance;
  if (!instance) instance = std::make_unique<Main>();
  return *instance;
}
