#pragma once
#include <string>
#include <vector>

namespace gainbench {

// One note of a Standard MIDI File, timed in beats.
struct MidiNote {
  double beat;
  double lengthBeats;
  int channel;  // 0..15; 9 is General MIDI's drum kit
  int key;
  int velocity;
};

// A General MIDI program for a channel.
struct MidiProgram {
  int channel;
  int program;  // 0-based
};

// Writes a one-track file (format 0, 480 ticks per beat) at a steady tempo;
// false when it cannot be written.
bool writeMidiFile(const std::string& path, double bpm, const std::vector<MidiProgram>& programs,
                   const std::vector<MidiNote>& notes);

}  // namespace gainbench
