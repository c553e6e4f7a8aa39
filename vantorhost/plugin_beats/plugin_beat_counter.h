#pragma once
#include <array>
#include <cstdint>

#include "vantorhost/plugin_beats/tempo_fit.h"

namespace vantorhost {

// The plug-in's beat counter: counts the beats the plug-in's beat tool hands
// over (Send 9 1 0) and fits the tempo to the latest ones (tempo_fit.h) as
// each arrives, so that asking for it costs nothing. The host window shows
// it beside "Plug-in beat counter" (as beats and how many a minute, the
// one tempo on screen being the tracker's), `print tempo` prints it.
class PluginBeatCounter {
 public:
  // Beats further apart than this start a new run; a tempo this old is gone.
  static constexpr std::int64_t kStaleMs = 3000;

  void beat(std::int64_t nowMs);
  std::uint64_t count() const { return count_; }
  std::int64_t lastBeatMs() const { return last_; }
  // The tempo of the current run; none once it is kStaleMs old.
  Tempo tempo(std::int64_t nowMs) const;

 private:
  std::array<std::int64_t, kFitBeats> run_{};  // the run's latest beats, oldest first
  std::size_t runSize_ = 0;
  Tempo tempo_;
  std::uint64_t count_ = 0;
  std::int64_t last_ = -1;
};

}  // namespace vantorhost
