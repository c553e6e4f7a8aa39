#include "ui/frmAbout.h"

#include <string>

#include "model/plugin_identity.h"

namespace {

constexpr const char* kDescription =
    "Erweitert die Brivola-Funktionen von Vantor. Ben\xC3\xB6tigt einen Mediaplayer mit "
    "Visualisierungs-Erweiterung. Dem Spektrum-Analyzer lassen sich frei definierbare Balken mit "
    "Sondereigenschaften hinzuf\xC3\xBCgen. \xE2\x80\x9E" "Beat: Analyzer\xE2\x80\x9C (ein Pixel) "
    "und \xE2\x80\x9E" "Beat: Balken\xE2\x80\x9C (ein Balken) lesen Beats aus \xE2\x80\x93 "
    "f\xC3\xBCr das Beat-Tool oder zum Aufblitzen von Kan\xC3\xA4len. Der VU kann \xC3\x84hnliches. "
    "Kan\xC3\xA4le f\xC3\xBCr VU und Beats: Klick auf \xE2\x80\x9E" "L\xE2\x80\x9C, \xE2\x80\x9E"
    "R\xE2\x80\x9C oder \xE2\x80\x9E" "ch\xE2\x80\x9C. SS = Schaltschwelle, b\xC3\x9C" "sa = bei "
    "\xC3\x9C" "berschreiten setzen auf, BS = Beatschwelle, ch = Kanal.";

}  // namespace

frmAbout::frmAbout() : tk::Form("frmAbout", "Info", 5730, 4065) {
  picIcon.setGeometry({240, 240, 885, 885});
  lblTitle.setGeometry({1050, 240, 3885, 480});
  lblVersion.setCaption(std::string("  Version ") + PluginIdentity::kVersion + " (" + PluginIdentity::kAuthor + ")");
  lblVersion.setGeometry({1050, 780, 3885, 225});
  lblDescription.wordWrap = true;
  // Taller than the text needs on Windows, so that wider desktop fonts still fit.
  lblDescription.setGeometry({1080, 1125, 3885, 2310});
  // One pixel (15 twips) apart: a grey line with a white one beneath looks etched.
  Line1.add(*this, "Line1", 0, tk::LineState{120, 3480, 5610, 3480, tk::kGrey});
  Line1.add(*this, "Line1", 1, tk::LineState{120, 3495, 5610, 3495, tk::kWhite});
  cmdOK.setGeometry({4245, 3600, 1260, 345});
  cmdOK.isDefault = true;
  cmdOK.isCancel = true;
  cmdOK.onClick = [this] { cmdOK_Click(); };
  setBorderStyle(tk::BorderStyle::FixedDialog);
  finishDesign();
}

void frmAbout::Form_Load() {
  setCaption(std::string("Info zu ") + PluginIdentity::kTitle);
  lblDescription.setCaption(kDescription);
}

void frmAbout::cmdOK_Click() { unload(); }
