// The bar dialog where the end-to-end scripts do not reach: stored values
// outside the controls, "OK" before and between the samplings.
#include "tests/ui/main_fixture.h"
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
}  // namespace
