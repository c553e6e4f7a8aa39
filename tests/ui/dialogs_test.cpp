// The dialogs where the end-to-end scripts do not reach: the bar dialog on
// stored values outside its controls and "OK" before and between its
// samplings; the channel dialog on a full list and on a list changed behind
// its back.
#include "tests/ui/main_fixture.h"
#include "ui/Kanaele.h"
#include "ui/Presets_Channel.h"

namespace {

class BarDialog : public MainTest {
 protected:
  Presets_Channel& openWith(std::int16_t request) {
    Arrays::barToEdit = request;
    Presets_Channel* dialog = nullptr;
    event([&] {
      dialog = &tk::app().create<Presets_Channel>();
      dialog->show();
    });
    return *dialog;
  }
  static void ok(Presets_Channel& d) {
    event([&] { d.Command1.userClick(); });
  }
  // number, pixels, channel summary, boost, threshold, set-on-exceed, set value
  static std::vector<int> fields(int slot) {
    const Arrays::Bar& b = Arrays::bars[slot];
    return {b.number, b.fromPixel, b.toPixel, b.channelSummary, b.boostPercent, b.threshold, b.setOnExceed, b.setValue};
  }
};

TEST_F(BarDialog, StoredValuesOutsideTheControlsLoadSafely) {
  Arrays::bars[6] = {7, 300, -5, 12345, 500, 0, 7, 1000};
  Presets_Channel& d = openWith(7);
  EXPECT_EQ(d.Combo1.listIndex(), -1);
  EXPECT_EQ(d.Combo1.text(), "");
  EXPECT_EQ(d.Combo2.listIndex(), -1);
  EXPECT_EQ(d.Check1.value(), 1) << "a boost other than 100 is kept";
  EXPECT_EQ(d.Check2.value(), 0);
  ok(d);
  EXPECT_EQ(fields(6), (std::vector<int>{7, 0, 0, 0, 200, 1, 0, 255}));
}

TEST_F(BarDialog, OkBeforeTheFirstSamplingKeepsTheLoadedBar) {
  Arrays::bars[2] = {3, 40, 50, 0, 150, 60, 1, 180};
  Arrays::barChannels[2][1] = 5;
  Arrays::barChannels[2][2] = 12;
  ok(openWith(3));
  EXPECT_EQ(fields(2), (std::vector<int>{3, 40, 50, 512, 150, 60, 1, 180}));
}

TEST_F(BarDialog, OkStoresWhatTheTimerLastSampled) {
  Presets_Channel& d = openWith(-1);
  event([&] { d.Slider2.userSetValue(40); });
  loop.advance(100);
  EXPECT_EQ(d.Label2.caption(), "40");
  event([&] { d.Slider2.userSetValue(41); });
  ok(d);
  EXPECT_EQ(Arrays::bars[0].threshold, 40);
}

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
