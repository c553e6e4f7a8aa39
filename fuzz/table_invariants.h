#pragma once
// What must hold between any two events, whatever the user did: the shared
// tables keep their rules and Main's bar list shows the table.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "model/arrays.h"
#include "toolkit/format.h"
#include "toolkit/list_view.h"

namespace fuzz {

// A channel list is its channels from entry 1 on, then zeros only: no hole
// in front of a channel, and every channel a DMX channel. (Compared in one
// piece: this runs after every event of a fuzz run.)
inline void checkChannelList(const Arrays::ChannelList& list) {
  static const Arrays::ChannelList zeros{};
  const int n = Arrays::channelCount(list);
  FUZZ_REQUIRE(list[0] == 0);
  Arrays::forEachChannel(list, [](std::int16_t c) { FUZZ_REQUIRE(c <= Arrays::kListEntries); });
  FUZZ_REQUIRE(std::memcmp(&list[n + 1], &zeros[n + 1], sizeof(list[0]) * (Arrays::kListEntries - n)) == 0);
}

inline void checkTables() {
  for (int slot = 0; slot < Arrays::kBarSlots; ++slot) {
    FUZZ_REQUIRE(Arrays::bars[slot].number == 0 || Arrays::holdsBar(slot));
    checkChannelList(Arrays::barChannels[slot]);
  }
  for (int id = Arrays::kVuLeft; id <= Arrays::kBeatBar; ++id) checkChannelList(Arrays::outputChannels[id]);
  FUZZ_REQUIRE(Arrays::editedList <= Arrays::kBeatBar);
  FUZZ_REQUIRE(Arrays::editedBar >= 0 && Arrays::editedBar < Arrays::kBarSlots);
  FUZZ_REQUIRE(Arrays::barToEdit >= -1 && Arrays::barToEdit <= Arrays::kBarSlots);
  FUZZ_REQUIRE(Arrays::dmxOutputActive <= 1);
}

// Row n stands for slot n - 1, up to the highest slot that holds a bar.
inline void checkBarList(const tk::ListView& list) {
  namespace fmt = tk::fmt;
  FUZZ_REQUIRE(list.rowCount() == Arrays::highestBarSlot() + 1);
  for (int slot = 0; slot < list.rowCount(); ++slot) {
    const Arrays::Bar& bar = Arrays::bars[slot];
    const tk::ListRow expected{fmt::number(bar.fromPixel), fmt::number(bar.toPixel), fmt::number(bar.channelSummary)};
    FUZZ_REQUIRE(list.rows()[static_cast<size_t>(slot)] == expected);
  }
  FUZZ_REQUIRE(list.selectedRow() >= 0 && list.selectedRow() <= list.rowCount());
}

}  // namespace fuzz
