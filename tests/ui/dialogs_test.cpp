// The channel dialog where the end-to-end scripts do not reach: on a full
// list and on a list changed behind its back. (The bar dialog on stored
// values outside its controls and "OK" before and between its samplings:
// golden editors_bar_dialog_ok.)
#include "tests/ui/main_fixture.h"
#include "ui/Kanaele.h"

namespace {

class ChannelDialog : public MainTest {
 protected:
  Kanaele& openFor(std::uint8_t list, std::int16_t bar = 0) {
    Arrays::editedList = list;
    Arrays::editedBar = bar;
    event([] { Kanaele::showForEditedList(); });
    return *open<Kanaele>().back();
  }
  static void add(Kanaele& k, int channel) {
    event([&] {
      k.Combo1.userSelect(channel - 1);
      k.Command1.userClick();
    });
  }
  static void removeRow(Kanaele& k, int row) {
    event([&] {
      k.ListView2.userSelect(row);
      k.Command2.userClick();
    });
  }
  static Arrays::ChannelList& vuLeft() { return Arrays::outputChannels[Arrays::kVuLeft]; }
};

TEST_F(ChannelDialog, AFullListTakesNoFurtherChannelUntilOneIsRemoved) {
  for (int p = 1; p <= Arrays::kListEntries; ++p) vuLeft()[p] = static_cast<std::int16_t>(p);
  Kanaele& k = openFor(Arrays::kVuLeft);
  ASSERT_EQ(k.ListView2.rowCount(), 1024);
  add(k, 7);
  EXPECT_EQ(vuLeft()[1024], 1024);
  EXPECT_EQ(vuLeft()[0], 0) << "nothing written in front of the list";
  removeRow(k, 1);
  EXPECT_EQ(vuLeft()[1], 2);
  EXPECT_EQ(vuLeft()[1023], 1024);
  EXPECT_EQ(vuLeft()[1024], 0);
  add(k, 1);
  EXPECT_EQ(vuLeft()[1024], 1) << "the freed position takes the next channel";
}

TEST_F(ChannelDialog, RowsOfAListClearedElsewhereRemoveNothing) {
  Kanaele& k = openFor(Arrays::kBarList, 3);
  add(k, 5);
  add(k, 7);
  Arrays::clearBar(3);  // Main's "-" while the dialog is open
  ASSERT_EQ(k.ListView2.rowCount(), 2);
  Arrays::barChannels[3][1] = 9;
  removeRow(k, 2);  // no second channel behind the 9
  EXPECT_EQ(channels(Arrays::barChannels[3]), std::vector<int>{9});
  EXPECT_EQ(k.ListView2.rowCount(), 1) << "the rows follow the list again";
}

}  // namespace
