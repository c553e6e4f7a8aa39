#include "model/arrays.h"

#include <cstring>

namespace Arrays {

Bar bars[kBarSlots];
ChannelList barChannels[kBarSlots];
ChannelList outputChannels[7];
std::uint8_t editedList;
std::int16_t editedBar;
std::int16_t barToEdit;
std::uint8_t dmxOutputActive;

int firstFreeSlot() {
  for (int i = 0; i < kBarSlots; ++i)
    if (bars[i].number == 0) return i;
  return -1;
}

int highestBarSlot() {
  for (int i = kBarSlots - 1; i >= 0; --i)
    if (holdsBar(i)) return i;
  return -1;
}

ChannelList* listById(int id, int slot) {
  if (id == kBarList) return (slot >= 0 && slot < kBarSlots) ? &barChannels[slot] : nullptr;
  if (id >= kVuLeft && id <= kBeatBar) return &outputChannels[id];
  return nullptr;
}

void clearBar(int slot) {
  bars[slot] = Bar{};
  barChannels[slot].fill(0);
}

std::int16_t channelSummary(const ChannelList& list) {
  std::int32_t summary = 0;
  for (int j = 1; j <= kListEntries && list[j] > 0; ++j) {
    std::int64_t scale = 1;
    for (int c = list[j]; c > 0; c /= 10) scale *= 10;
    std::int64_t next = summary * scale + list[j];
    if (next > 32767) break;
    summary = static_cast<std::int32_t>(next);
  }
  return static_cast<std::int16_t>(summary);
}

void resetAll() {
  std::memset(bars, 0, sizeof bars);
  for (auto& l : barChannels) l.fill(0);
  for (auto& l : outputChannels) l.fill(0);
  editedList = 0;
  editedBar = 0;
  barToEdit = 0;
  dmxOutputActive = 0;
}

}  // namespace Arrays
