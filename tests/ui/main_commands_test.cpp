// Main's "+" on a full table and "-" on a list with a hole.
#include "tests/ui/main_fixture.h"
#include "ui/Presets_Channel.h"

namespace {

using MainCommands = MainTest;

TEST_F(MainCommands, PlusWithEverySlotInUseOpensNoDialog) {
  for (int s = 0; s < Arrays::kBarSlots; ++s) bar(s);
  event([this] { main.Command1.userClick(); });
  EXPECT_TRUE(open<Presets_Channel>().empty());
  EXPECT_EQ(Arrays::barToEdit, 0);
  Arrays::clearBar(287);
  event([this] { main.Command1.userClick(); });
  ASSERT_EQ(open<Presets_Channel>().size(), 1u);
  EXPECT_EQ(open<Presets_Channel>()[0]->barSlot, 287);
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
