#include "model/arrays.h"
#include "toolkit/application.h"
#include "ui/Kanaele.h"
#include "ui/Main.h"
#include "ui/Presets_Channel.h"
#include "ui/bar_list.h"
#include "ui/frmAbout.h"

namespace {

// Every press opens a further bar dialog; it reads barToEdit as it loads.
void openBarDialog() { tk::app().create<Presets_Channel>().show(); }

}  // namespace

// "+": a new bar. With all 288 slots in use there is no slot to give it.
void Main::Command1_Click() {
  if (Arrays::firstFreeSlot() < 0) return;
  Arrays::barToEdit = -1;
  openBarDialog();
}

// "Edit": the selected row n stands for slot n - 1.
void Main::Command2_Click() {
  const int row = ListView1.selectedRow();
  if (row == 0) return;
  Arrays::barToEdit = static_cast<std::int16_t>(row);
  openBarDialog();
}

// "-": clears the selected row's slot. The list is then rebuilt from the
// table, so that row n keeps standing for slot n - 1.
void Main::Command3_Click() {
  if (ListView1.rowCount() == 0 || ListView1.selectedRow() == 0) return;
  selectedRow = ListView1.selectedRow();
  Arrays::clearBar(selectedRow - 1);
  rebuildBarList(ListView1);
}

void Main::Command4_Click() { tk::app().create<frmAbout>().show(); }

void Main::Label5_Click() {
  Arrays::editedList = Arrays::kVuLeft;
  KanaeleFormLoad();
}

void Main::Label13_Click() {
  Arrays::editedList = Arrays::kVuRight;
  KanaeleFormLoad();
}

void Main::Label14_Click() {
  Arrays::editedList = Arrays::kBeatVu;
  KanaeleFormLoad();
}

void Main::Label15_Click() {
  Arrays::editedList = Arrays::kBeatAnalyzer;
  KanaeleFormLoad();
}

void Main::Label16_Click() {
  Arrays::editedList = Arrays::kBeatBar;
  KanaeleFormLoad();
}

void Main::KanaeleFormLoad() { Kanaele::showForEditedList(); }
