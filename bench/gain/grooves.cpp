#include "bench/gain/grooves.h"

#include <cmath>
#include <cstdint>

namespace gainbench {

namespace {

constexpr int kDrumChannel = 9, kBassChannel = 0;
constexpr int kKick = 36, kCrash = 49;

int velocityOf(char step) { return step == 'X' ? 118 : step == 'x' ? 96 : step == 'o' ? 60 : 0; }

// -6..+6, from the bar and step alone.
int humanize(int bar, int step, int key) {
  std::uint32_t x = static_cast<std::uint32_t>(bar * 131 + step * 17 + key * 7919);
  x ^= x >> 13;
  x *= 0x5bd1e995u;
  x ^= x >> 15;
  return static_cast<int>(x % 13) - 6;
}

}  // namespace

const std::vector<Groove>& grooves() {
  static const std::vector<Groove> all = {
      {"rock-110", 110, "FluidR3_GM.sf2",
       {{kKick, "X.......X.x....."}, {38, "....X.......X..."}, {42, "x.x.x.x.x.x.x.x."}},
       33, "x.x.x.x.x.x.x.x.", {28, 28, 31, 33}, true},
      {"funk-96", 96, "TimGM6mb.sf2",
       {{kKick, "X..x..X...X..x.."}, {38, "....X..o.o..X..o"}, {42, "xoxoxoxoxoxoxo.."}, {46, "..............x."}},
       36, "X..x..x...x.x...", {26, 26, 29, 31}, false},
      {"house-128", 128, "FluidR3_GM.sf2",
       {{kKick, "X...X...X...X..."}, {39, "....x.......x..."}, {46, "..x...x...x...x."}, {42, "x.......x......."}},
       38, "..X...X...X...X.", {33, 33, 29, 31}, false},
  };
  return all;
}

std::vector<MidiNote> grooveNotes(const Groove& groove, double seconds) {
  std::vector<MidiNote> notes;
  const int bars = static_cast<int>(std::ceil(seconds * groove.bpm / 60.0 / 4.0));
  for (int bar = 0; bar < bars; ++bar) {
    const double start = 4.0 * bar;
    const bool breakdown = bar % 16 >= 12;
    if (bar % 8 == 0) notes.push_back({start, 1.0, kDrumChannel, kCrash, 110});
    for (const Groove::DrumLine& line : groove.drums) {
      if (breakdown && line.key == kKick) continue;
      for (int s = 0; s < 16; ++s)
        if (const int v = velocityOf(line.steps[static_cast<std::size_t>(s)]))
          notes.push_back({start + s / 4.0, 0.2, kDrumChannel, line.key, v + humanize(bar, s, line.key)});
    }
    const int root = groove.bassRoots[static_cast<std::size_t>(bar) % groove.bassRoots.size()];
    for (int s = 0; s < 16; ++s) {
      const int v = velocityOf(groove.bassSteps[static_cast<std::size_t>(s)]);
      if (!v) continue;
      int next = s + 1;
      while (next < 16 && groove.bassSteps[static_cast<std::size_t>(next)] == '.') ++next;
      notes.push_back({start + s / 4.0, (next - s) / 4.0 * 0.9, kBassChannel, root, v + humanize(bar, s, root)});
    }
  }
  return notes;
}

}  // namespace gainbench
