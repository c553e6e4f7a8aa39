#include "vantorhost/run/quiet_input.h"

#include <algorithm>

namespace vantorhost {

std::optional<double> QuietInput::follow(std::int64_t nowMs, double inputDb, double outputDb) {
  if (outputDb >= kQuietOutputDb) {
    sinceMs_ = -1;
    return std::nullopt;
  }
  if (sinceMs_ < 0) {
    sinceMs_ = nowMs;
    loudestDb_ = inputDb;
  }
  loudestDb_ = std::max(loudestDb_, inputDb);
  if (nowMs - sinceMs_ < kQuietSeconds * 1000 || loudestDb_ < kSoundDb) return std::nullopt;
  return loudestDb_;
}

}  // namespace vantorhost
