#pragma once
// Scores of fired beats against true ones (times in seconds, ascending), as
// the beat-tracking literature scores them, and what a lighting person sees
// besides: whether the flash sits on the off-beat, and how long it goes on
// after the music.
#include <string>
#include <vector>

namespace beat_eval {

// A fired beat within this of a true one hits.
constexpr double kWindow = 0.07;
// Beats in the first seconds count in no F-measure: every tracker needs a few.
constexpr double kSkip = 5.0;

// Which of `found` lie within the window of a beat of `truth`, one to one.
std::vector<bool> matched(const std::vector<double>& truth, const std::vector<double>& found);
// The F-measure over what lies after kSkip; beats fired after the music
// count as false.
double fMeasure(const std::vector<double>& truth, const std::vector<double>& found);

// The best F-measure of the metrical levels a light show may fairly flash
// on: the annotated beats, twice as fast (the beats and the points halfway
// between), and half as fast (every other beat, either half).
struct LevelScore {
  double f = 0.0;
  std::string level = "=";  // "=", "x2", "/2"
};
LevelScore anyLevel(const std::vector<double>& truth, const std::vector<double>& found);

// The share of the time from the first fired beat to `until` (the music's
// end) during which the flashes sit near the off-beat: a fired beat that is
// at least 0.3 of a true beat from both neighbouring true beats, with the
// flashes around it at about the true period or slower (twice as fast, half
// of them fall between beats by nature: that is the double level, not the
// off-beat). Each beat stands for the time to the next one (at most two
// periods).
double offBeatShare(const std::vector<double>& truth, const std::vector<double>& found, double until);

// The first of four hits in a row at or after `from`, or -1.
double rightFrom(const std::vector<double>& truth, const std::vector<double>& found, double from);
// The median of `count` intervals of `truth` from index `from`.
double medianInterval(const std::vector<double>& truth, std::size_t from, std::size_t count);
// The time of a step in tempo (more than 8 % between the beats before and after), or -1.
double tempoChange(const std::vector<double>& truth);
// Fired minus true time, in ms, of every fired beat that hits (after kSkip).
std::vector<double> signedErrorsMs(const std::vector<double>& truth, const std::vector<double>& found);
// Whether `bpm` is within 2 % of `truth`, or of twice or half of it.
bool tempoRight(double bpm, double truth);

double mean(const std::vector<double>& values);
// The q-quantile (nearest rank), 0 for none.
double quantile(std::vector<double> values, double q);

}  // namespace beat_eval
