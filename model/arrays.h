#pragma once
// Module Arrays: the tables that the windows and the engine share. All zero
// when the plug-in module is loaded; nothing saves them.
#include <array>
#include <cstdint>

namespace Arrays {

inline constexpr int kBarSlots = 288;
inline constexpr int kListEntries = 1024;

struct Bar {
  std::int16_t number;          // slot + 1 while the slot holds a bar, 0 when free
  std::int16_t fromPixel;       // first spectrum pixel (1-based)
  std::int16_t toPixel;         // last spectrum pixel
  std::int16_t channelSummary;  // the channels' decimal texts joined, for the bar list
  std::int16_t boostPercent;
  std::int16_t threshold;
  std::uint8_t setOnExceed;     // 1: send setValue instead of the level when above threshold
  std::int16_t setValue;
};

// Entries 1..1024; entry 0 is never used. A channel list is the run of
// entries > 0 from entry 1 up to the first entry that is not.
using ChannelList = std::array<std::int16_t, kListEntries + 1>;

inline constexpr std::uint8_t kBarList = 1;  // list id of a bar's own list
inline constexpr std::uint8_t kVuLeft = 2, kVuRight = 3, kBeatVu = 4, kBeatAnalyzer = 5, kBeatBar = 6;

extern Bar bars[kBarSlots];
extern ChannelList barChannels[kBarSlots];
extern ChannelList outputChannels[7];  // list ids 2..6
extern std::uint8_t editedList;        // list the channel dialog edits: 0 none, 1 bar, 2..6
extern std::int16_t editedBar;         // bar slot whose list is edited while editedList is 1
extern std::int16_t barToEdit;         // -1 new bar, n edit row n (slot n - 1), 0 no request
extern std::uint8_t dmxOutputActive;   // Main.Check5, copied every tick

// The channel-list walk that every reader uses.
template <class F>
inline void forEachChannel(const ChannelList& list, F&& f) {
  for (int j = 1; j <= kListEntries && list[j] > 0; ++j) f(list[j]);
}

inline int channelCount(const ChannelList& list) {
  int n = 0;
  while (n < kListEntries && list[n + 1] > 0) ++n;
  return n;
}

// Slot s holds a bar exactly when its number is s + 1.
inline bool holdsBar(int slot) { return bars[slot].number == slot + 1; }

// The lowest free slot (number 0), or -1 when all 288 are in use.
int firstFreeSlot();
// The highest slot that holds a bar, or -1 when there is none.
int highestBarSlot();
// The list that a list id names: 1 the bar slot's own list, 2..6 a fixed
// output; nullptr for any other id or slot.
ChannelList* listById(int id, int slot);
// Clears a bar: its eight fields and all 1024 entries of its list.
void clearBar(int slot);
// The channels' decimal texts joined and read as one 16-bit number (5, 12
// gives 512). When the text would exceed 32767, the largest prefix of the
// channels that fits is kept.
std::int16_t channelSummary(const ChannelList& list);
// Everything back to zero (the module loaded anew).
void resetAll();

}  // namespace Arrays
