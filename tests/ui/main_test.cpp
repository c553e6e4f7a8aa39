// Main on its controls where the end-to-end scripts cannot see or do not
// reach: pixels past the width, greyed switches, and "-" on a list with a
// hole. (The table full: golden editors_all_slots_in_use; the watched bar's
// level held: engine_beat_bar_held; variables kept across a close:
// foundation_variables_survive_close.)
#include "tests/ui/main_fixture.h"

namespace {

using MainTick = MainTest;
using MainCommands = MainTest;

TEST_F(MainTick, OnlyThePixelsWithinTheWidthAreRefreshed) {
  spectrum(std::string(288 * 2, 'f'));
  tick();
  main.Slider3.setValue(100);
  spectrum("");
  tick();
  EXPECT_EQ(main.pixelHeights[99], 0) << "a bin the bridge did not report reads 0";
  EXPECT_EQ(main.pixelHeights[100], 1250) << "beyond the width: last height kept";
}

// Greyed (2) counts as off for the detectors, as "unmuted" for nothing.
TEST_F(MainTick, GreyedSwitchesAreOff) {
  main.beatVuState = main.beatPixelState = main.beatBarState = 1;
  main.LEDMeter2.show(40);
  main.Check3.setValue(2);
  main.Check5.setValue(1);
  main.Check9.setValue(2);
  bar(0, 1, 1);
  Arrays::barChannels[0][1] = 7;
  spectrum("ff");
  tick();
  EXPECT_EQ(main.beatVuState + main.beatPixelState + main.beatBarState, 0);
  EXPECT_FALSE(main.LEDMeter2.level().has_value());
  EXPECT_FALSE(main.Option1[0].enabled());
  EXPECT_TRUE(host->calls.empty()) << "a greyed mute sends nothing";
  EXPECT_EQ(main.beatBarLevel, 255) << "but still watches";
}

TEST_F(MainCommands, MinusClearsTheSlotAndItsChannelsBehindTheLastChannel) {
  bar(0);
  bar(1);
  for (int p = 1; p <= Arrays::kListEntries; ++p) Arrays::barChannels[1][p] = 9;
  Arrays::barChannels[1][3] = 0;  // entries behind a hole are cleared too
  main.ListView1.addRow({"1", "288", "0"});
  main.ListView1.addRow({"1", "288", "0"});
  event([this] {
    main.ListView1.userSelect(2);
    main.Command3.userClick();
  });
  EXPECT_EQ(main.selectedRow, 2);
  for (int p = 1; p <= Arrays::kListEntries; ++p) ASSERT_EQ(Arrays::barChannels[1][p], 0);
  EXPECT_EQ(Arrays::highestBarSlot(), 0);
  EXPECT_EQ(main.ListView1.rowCount(), 1);
}

}  // namespace
