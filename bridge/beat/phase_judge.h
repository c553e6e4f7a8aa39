#pragma once
#include "bridge/beat/beat_features.h"

namespace vbvis {

// Whether a grid's beats are the beats or the points halfway between them,
// from what repeats over the last bars rather than from the onsets alone:
// the strongest onsets of a dense riff are often off the beat (a note after
// a rest rises more than the one that follows a sixteenth closely), and an
// off-beat bass or a pumping pad rises more than the kick it ducks under.
// Three cues are folded over bars of four beats, at the eight eighths of
// the bar: the onset strength (the accent pattern), the low end's level
// (the kick falls on the beat) and how much the harmony changes (chords
// change on beats and at the bar, rarely an eighth early). Each cue's fold
// is taken against its own spread, so no cue's scale outweighs another's;
// for each, the strongest eighth and the mean of the eighths on the grid's
// beats are weighed against those of the eighths between them.
class PhaseJudge {
 public:
  // `beat`: a beat of the grid at least half a period old; `period` in
  // frames; over up to `bars` bars back from it. Above 0 the grid's beats
  // are the beats, below 0 the points halfway between them are; 0 when
  // fewer than two bars are kept.
  static double evidence(const BeatFeatures& features, double beat, double period, int bars);
};

}  // namespace vbvis
