#pragma once
#include <string>
#include <vector>

#include "bench/gain/midi_file.h"

namespace gainbench {

// A drum groove with a bass line, written out as notes: one bar of 16ths
// repeated, a crash on every eighth bar's downbeat, and every fourth group
// of four bars without its kick (a breakdown), so the level moves as in a
// song. Velocities vary a little from hit to hit, the same every run.
struct Groove {
  struct DrumLine {
    int key;            // General MIDI drum key
    std::string steps;  // 16 steps: 'X' accent, 'x' hit, 'o' ghost, '.' rest
  };
  std::string name;
  double bpm;
  std::string soundfont;  // file name under /usr/share/sounds/sf2
  std::vector<DrumLine> drums;
  int bassProgram;
  std::string bassSteps;       // as the drums; each hit holds to the next
  std::vector<int> bassRoots;  // one per bar, repeated
  bool tuning;                 // used to choose the gain's constants (else held out)
};

const std::vector<Groove>& grooves();
// Its notes for at least `seconds`.
std::vector<MidiNote> grooveNotes(const Groove& groove, double seconds);

}  // namespace gainbench
