#pragma once
// Whether the music reaches the analysis too quietly for light to follow
// it: after the gain, its level has stayed under kQuietOutputDb for
// kQuietSeconds with sound in it (digital silence is the status line's
// "no sound"). Then the loudest level the input had meanwhile is what the
// user is told, with the remedy.
#include <cstdint>
#include <optional>

namespace vantorhost {

class QuietInput {
 public:
  // 24 dB under the level the automatic gain brings music to: the bars
  // barely move.
  static constexpr double kQuietOutputDb = -40.0;
  static constexpr int kQuietSeconds = 5;
  // Below this the input is silence, not quiet music.
  static constexpr double kSoundDb = -100.0;

  // The input's and the output's level now (dBFS, RMS), a few times a
  // second; the loudest input level of the quiet stretch once it has
  // lasted kQuietSeconds, else nothing.
  std::optional<double> follow(std::int64_t nowMs, double inputDb, double outputDb);

 private:
  std::int64_t sinceMs_ = -1;  // start of the quiet stretch; -1 none
  double loudestDb_ = 0;
};

}  // namespace vantorhost
