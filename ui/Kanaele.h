#pragma once
// The channel list dialog ("Kanäle"): shows one channel list and adds or
// removes channels. Every change goes straight into the shared tables; the
// list it edits is the one `editedList` (and for a bar `editedBar`) names at
// the moment of each action.
#include "model/arrays.h"
#include "toolkit/combo_box.h"
#include "toolkit/form.h"
#include "toolkit/list_view.h"
#include "toolkit/simple_controls.h"

class Kanaele : public tk::Form {
 public:
  static constexpr const char* kCaption = "Kan\xC3\xA4le";

  Kanaele();

  // Opens the dialog for the list `editedList` names: an open one (found by
  // its caption among the loaded forms) is refilled and shown again,
  // otherwise a new one is created and shown. Modeless.
  static void showForEditedList();

  void Command1_Click();  // "+"
  void Command2_Click();  // "-"
  void Command3_Click();  // "Schließen"
  // Refill the rows from the bar's list (id 1) / from a fixed output's list (2..6).
  void ListView2_aktualisieren();
  void ListView2_2_aktualisieren();
  // Refills the rows from the list `editedList` names now, as when the
  // dialog is shown again.
  void refillRows();

  tk::ListView ListView2{*this, "ListView2"};
  tk::Label Label1{*this, "Label1", "Kanal hinzuf\xC3\xBCgen:"};
  tk::ComboBox Combo1{*this, "Combo1"};
  tk::CommandButton Command1{*this, "Command1", "+"};
  tk::Label Label3{*this, "Label3", "Auswahl l\xC3\xB6schen:"};
  tk::CommandButton Command2{*this, "Command2", "-"};
  tk::CommandButton Command3{*this, "Command3", "Schlie\xC3\x9F" "en"};

 protected:
  void Form_Load() override;

 private:
  void fillRows(const Arrays::ChannelList* list);
  // The list that editedList (and editedBar) name now; nullptr for none.
  static Arrays::ChannelList* editedChannelList();
};
