#include "bench/gain/midi_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace gainbench {

namespace {

constexpr int kTicksPerBeat = 480;

struct Event {
  long tick;
  int order;  // at the same tick: note-offs before note-ons
  std::vector<std::uint8_t> bytes;
};

void putVariableLength(std::vector<std::uint8_t>& out, unsigned long value) {
  std::uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value);
  while (n-- > 0) out.push_back(static_cast<std::uint8_t>(groups[n] | (n ? 0x80 : 0)));
}

void putBigEndian(std::string& out, unsigned long value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

long toTick(double beat) { return std::lround(beat * kTicksPerBeat); }

}  // namespace

bool writeMidiFile(const std::string& path, double bpm, const std::vector<MidiProgram>& programs,
                   const std::vector<MidiNote>& notes) {
  std::vector<Event> events;
  const unsigned long usPerBeat = static_cast<unsigned long>(std::lround(60'000'000.0 / bpm));
  events.push_back({0, 0, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(usPerBeat >> 16),
                           static_cast<std::uint8_t>(usPerBeat >> 8), static_cast<std::uint8_t>(usPerBeat)}});
  for (const MidiProgram& p : programs)
    events.push_back({0, 0, {static_cast<std::uint8_t>(0xC0 | p.channel), static_cast<std::uint8_t>(p.program)}});
  for (const MidiNote& n : notes) {
    const auto channel = static_cast<std::uint8_t>(n.channel);
    const auto key = static_cast<std::uint8_t>(n.key);
    events.push_back({toTick(n.beat), 2, {static_cast<std::uint8_t>(0x90 | channel), key, static_cast<std::uint8_t>(n.velocity)}});
    events.push_back({toTick(n.beat + n.lengthBeats), 1, {static_cast<std::uint8_t>(0x80 | channel), key, 0}});
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });

  std::vector<std::uint8_t> track;
  long last = 0;
  for (const Event& e : events) {
    putVariableLength(track, static_cast<unsigned long>(e.tick - last));
    last = e.tick;
    track.insert(track.end(), e.bytes.begin(), e.bytes.end());
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});

  std::string file = "MThd";
  putBigEndian(file, 6, 4);
  putBigEndian(file, 0, 2);  // format 0
  putBigEndian(file, 1, 2);  // one track
  putBigEndian(file, kTicksPerBeat, 2);
  file += "MTrk";
  putBigEndian(file, track.size(), 4);
  file.append(track.begin(), track.end());
  std::ofstream out(path, std::ios::binary);
  out << file;
  return static_cast<bool>(out.flush());
}

}  // namespace gainbench
