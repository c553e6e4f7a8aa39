#pragma once
#include "bridge/beat/beat_features.h"

namespace vbvis {

// Where a grid's beats should sit: on them, a quarter, a half or three
// quarters of a period later, judged from what repeats over the last bars
// rather than from the onsets alone. The strongest onsets of a dense riff
// are often off the beat (a note after a rest rises more than the one that
// follows a sixteenth closely), an off-beat bass or a pumping pad rises
// more than the kick it ducks under, and a grid at half the tempo may sit
// on the off-beats between its beats. Three cues are folded over bars of
// four of the grid's beats, at sixteen points a quarter period apart: the
// onset strength (the accent pattern), the low end's level (the kick falls
// on the beat) and how much the harmony changes (chords change on beats
// and at the bar, rarely an eighth early). Each cue's fold is taken
// against its own spread, so no cue's scale outweighs another's. For each
// offset, the points it puts on beats are weighed against the others:
// those a quarter period off (is the grid on the stronger half of the
// quarter-period points?) and those half a period off (on the beats or
// halfway between them?), each by its strongest point and its mean.
class PhaseJudge {
 public:
  struct Verdict {
    int quarters = 0;     // the best offset, in quarters of a period after the grid's beats (0..3)
    double margin = 0.0;  // by how much it beats the grid as it is (0 when it is the grid)
    bool judged = false;  // whether bars enough were heard to judge at all
  };
  // `beat`: a beat of the grid at least half a period old; `period` in
  // frames; over up to `bars` bars back from it. No verdict (offset 0,
  // margin 0, not judged) while fewer than two bars are kept.
  // `quarters`: whether offsets of a quarter and three quarters are weighed
  // at all (a grid at half a fast tempo), or only half a period.
  // `leastChord`: the fewest frames either side of a point the harmony is
  // compared over (half a period, or this when more).
  static Verdict judge(const BeatFeatures& features, double beat, double period, int bars, bool quarters,
                       double leastChord);
};

}  // namespace vbvis
