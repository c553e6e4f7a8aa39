#include <memory>

#include "ui/Main.h"
#include "ui/bar_list.h"

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
  Shape1.place(nullptr, 120, 240, 14730, 1335);
  Shape1.setBackColor(tk::kWhite);

  Frame9.place(nullptr, 120, 1680, 2280, 4440);
  Check8.place(&Frame9, 1080, 0, 855, 255);
  LEDMeter4.place(&Frame9, 120, 300, 375, 3720);
  LEDMeter5.place(&Frame9, 600, 300, 375, 3720);
  Line4.setContainer(&Frame9);
  Label5.place(&Frame9, 180, 4080, 255, 255);
  Label13.place(&Frame9, 660, 4080, 255, 255);
  // Under the two scroll bars their values, Check7 under VScroll7 and the
  // heading "SS  bÜsa" beneath, all above the beat-tool buttons' line.
  VScroll6.place(&Frame9, 1200, 300, 255, 2640);
  VScroll7.place(&Frame9, 1800, 300, 255, 2640);
  Text3.place(&Frame9, 1080, 3000, 495, 285);
  Text4.place(&Frame9, 1680, 3000, 495, 285);
  Check7.place(&Frame9, 1800, 3360, 255, 255);
  Label8.place(&Frame9, 1080, 3660, 1095, 255);

  Frame2.place(nullptr, 2520, 1680, 1920, 4440);
  Check3.place(&Frame2, 960, 0, 255, 255);
  Frame1.place(&Frame2, 1320, 240, 495, 375);
  LEDMeter1.place(&Frame2, 120, 705, 375, 3135);
  Line2.setContainer(&Frame2);
  Label12.place(&Frame2, 660, 420, 375, 255);
  VScroll3.place(&Frame2, 720, 705, 255, 3135);
  VScroll8.place(&Frame2, 1440, 1200, 255, 735);
  Text5.place(&Frame2, 1380, 2040, 375, 285);
  Label14.place(&Frame2, 1440, 3480, 375, 255);

  Frame3.place(nullptr, 4560, 1680, 1680, 4440);
  Check2.place(&Frame3, 1320, 0, 255, 255);
  Frame4.place(&Frame3, 1080, 240, 495, 375);
  LEDMeter2.place(&Frame3, 120, 705, 375, 3135);
  Line1.setContainer(&Frame3);
  Label11.place(&Frame3, 600, 420, 375, 255);
  VScroll2.place(&Frame3, 660, 705, 255, 3135);
  VScroll1.place(&Frame3, 1200, 705, 255, 2400);
  Text2.place(&Frame3, 1080, 3180, 495, 285);
  Label15.place(&Frame3, 1200, 3540, 375, 255);

  Frame7.place(nullptr, 6360, 1680, 1920, 4440);
  Check4.place(&Frame7, 1320, 0, 255, 255);
  Frame8.place(&Frame7, 1320, 240, 495, 375);
  LEDMeter3.place(&Frame7, 120, 705, 375, 3135);
  Line3.setContainer(&Frame7);
  Label10.place(&Frame7, 660, 420, 375, 255);
  VScroll5.place(&Frame7, 720, 705, 255, 3135);
  VScroll4.place(&Frame7, 1440, 705, 255, 2400);
  Text1.place(&Frame7, 1320, 3180, 495, 285);
  Label16.place(&Frame7, 1440, 3540, 375, 255);

  // The four beat-tool buttons stand on one line at the foot of the groups;
  // they belong to the window so that they form one group.
  Option1[3].place(nullptr, 1080, 5760, 1335, 255);
  Option1[0].place(nullptr, 2640, 5760, 1215, 255);
  Option1[1].place(nullptr, 4680, 5760, 1215, 255);
  Option1[2].place(nullptr, 6480, 5760, 1215, 255);

  Frame5.place(nullptr, 8400, 1680, 3120, 2520);
  Check9.place(&Frame5, 2040, 0, 855, 255);
  // Four rows, 540 high: a caption with its value at the right, the slider
  // beneath it.
  Label1.place(&Frame5, 120, 300, 1455, 255);
  Label3.place(&Frame5, 2580, 300, 480, 255);
  Slider3.place(&Frame5, 60, 555, 3000, 285);
  Check1.place(&Frame5, 120, 840, 2400, 255);
  Label4.place(&Frame5, 2580, 840, 480, 255);
  Slider1.place(&Frame5, 60, 1095, 3000, 285);
  Label9.place(&Frame5, 120, 1380, 1455, 255);
  Label6.place(&Frame5, 2580, 1380, 480, 255);
  Slider2.place(&Frame5, 60, 1635, 3000, 285);
  Check6.place(&Frame5, 120, 1920, 2520, 255);
  Label7.place(&Frame5, 2700, 1920, 360, 255);
  Slider4.place(&Frame5, 60, 2175, 3000, 285);

  Frame10.place(nullptr, 8400, 4320, 3120, 1800);
  Check5.place(&Frame10, 240, 360, 2400, 375);

  Frame6.place(nullptr, 11640, 1680, 3240, 4440);
  ListView1.place(&Frame6, 120, 240, 3000, 3600);
  Command1.place(&Frame6, 120, 3960, 375, 375);
  Command3.place(&Frame6, 1440, 3960, 375, 375);
  Command2.place(nullptr, 12240, 5640, 735, 375);
  Command4.place(nullptr, 14280, 5640, 375, 375);

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
  // A bar chosen by hand replaces the one still waiting from the settings.
  VScroll4.onChange = [this] { pendingBeatBar = 0; };
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
  // Reopened while the module stays loaded, the window lists the bars that
  // are still in the table, so that row n stands for slot n - 1 again.
  rebuildBarList(ListView1);
  load_settings();
}

void Main::Form_QueryUnload(int&, tk::UnloadMode) { save_settings(); }

Main& mainForm() {
  static std::unique_ptr<Main> instance;
  if (!instance) instance = std::make_unique<Main>();
  return *instance;
}
