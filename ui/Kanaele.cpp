#include "ui/Kanaele.h"

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/format.h"

namespace {


// Position (1..1024) of the n-th positive entry: the channel that row n of
// the dialog shows. 0 when the list has fewer.
int positionOfRow(const Arrays::ChannelList& list, int row) {
  for (int p = 1; p <= Arrays::kListEntries; ++p)
    if (list[p] > 0 && --row == 0) return p;
  return 0;
}

}  // namespace

Kanaele::Kanaele() : tk::Form(kCaption, kCaption, 3315, 2760) {
  ListView2.place(nullptr, 0, 0, 1335, 2775);
  Label1.place(nullptr, 1440, 120, 1815, 255);
  Combo1.place(nullptr, 1440, 420, 1395, 315);
  Command1.place(nullptr, 2940, 450, 255, 255);
  Label3.place(nullptr, 1440, 960, 1485, 255);
  Command2.place(nullptr, 2940, 960, 255, 255);
  Command3.place(nullptr, 1800, 2280, 1335, 375);
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  setBorderStyle(tk::BorderStyle::FixedDialog);
  finishDesign();
}

void Kanaele::showForEditedList() {
  for (tk::Form* f : tk::app().forms()) {
    auto* open = dynamic_cast<Kanaele*>(f);
    if (open && open->caption() == kCaption) {
      // Shown again for a possibly different list: its rows follow that list.
      open->refillRows();
      open->show();
      return;
    }
  }
  tk::app().create<Kanaele>().show();
}

void Kanaele::Form_Load() {
  for (int channel = 1; channel <= Arrays::kListEntries; ++channel) Combo1.addItem(tk::fmt::number(channel));
  Combo1.setListIndex(0);
  ListView2.addColumn(kCaption, 1000);
  ListView2.setReportView(true);
  refillRows();
}

Arrays::ChannelList* Kanaele::editedChannelList() {
  if (Arrays::editedList == Arrays::kBarList) return Arrays::listById(Arrays::kBarList, Arrays::editedBar);
  return Arrays::listById(Arrays::editedList, 0);
}

void Kanaele::refillRows() {
  if (Arrays::editedList == Arrays::kBarList) ListView2_aktualisieren();
  else if (Arrays::editedList >= Arrays::kVuLeft && Arrays::editedList <= Arrays::kBeatBar) ListView2_2_aktualisieren();
  else ListView2.clearRows();
}

void Kanaele::ListView2_aktualisieren() { fillRows(Arrays::listById(Arrays::kBarList, Arrays::editedBar)); }

void Kanaele::ListView2_2_aktualisieren() { fillRows(Arrays::listById(Arrays::editedList, 0)); }

// Every positive entry of the 1024 gets a row, also behind a hole that a
// list written from outside the dialog may hold.
void Kanaele::fillRows(const Arrays::ChannelList* list) {
  ListView2.clearRows();
  if (!list) return;
  for (int p = 1; p <= Arrays::kListEntries; ++p)
    if ((*list)[p] > 0) ListView2.addRow({tk::fmt::number((*list)[p])});
}

void Kanaele::Command1_Click() {
  Arrays::ChannelList* list = editedChannelList();
  if (!list) return;
  const int channel = Combo1.listIndex() + 1;  // 0 when the box holds other text
  const int end = Arrays::channelCount(*list) + 1;
  if (channel > 0 && end <= Arrays::kListEntries) (*list)[end] = static_cast<std::int16_t>(channel);
  refillRows();
}

// Removing closes the gap: the channels behind move up one position, so the
// rows, the table and what the engine sends stay the same list.
void Kanaele::Command2_Click() {
  if (ListView2.rowCount() == 0 || ListView2.selectedRow() == 0) return;
  Arrays::ChannelList* list = editedChannelList();
  if (!list) return;
  if (const int p = positionOfRow(*list, ListView2.selectedRow())) {
    std::copy(list->begin() + p + 1, list->end(), list->begin() + p);
    (*list)[Arrays::kListEntries] = 0;
  }
  refillRows();
}

void Kanaele::Command3_Click() { unload(); }
