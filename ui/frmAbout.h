#pragma once
// The About box: title, version and what the plug-in does. Opened by Main's
// "?"; every press opens another one. Reads and writes no table.
#include "toolkit/control_array.h"
#include "toolkit/form.h"
#include "toolkit/line.h"
#include "toolkit/simple_controls.h"

class frmAbout : public tk::Form {
 public:
  // The icon, looked up among the program's resources.
  static constexpr const char* kIconResource = "fixture.png";

  frmAbout();

  void cmdOK_Click();

  tk::PictureBox picIcon{*this, "picIcon", kIconResource};
  tk::Label lblTitle{*this, "lblTitle", "  Vantor Plugin: Sonvero"};
  tk::Label lblVersion{*this, "lblVersion"};
  tk::Label lblDescription{*this, "lblDescription"};
  tk::ControlArray<tk::Line> Line1;  // etched separator: grey, white beneath
  tk::CommandButton cmdOK{*this, "cmdOK", "OK"};

 protected:
  void Form_Load() override;
};
