#include "vantorhost/plugin_beats/plugin_beat_counter.h"

#include <algorithm>
#include <span>

namespace vantorhost {

void PluginBeatCounter::beat(std::int64_t nowMs) {
  if (last_ >= 0 && (nowMs - last_ > kStaleMs || nowMs < last_)) runSize_ = 0;
  ++count_;
  last_ = nowMs;
  if (runSize_ == run_.size()) std::shift_left(run_.begin(), run_.end(), 1);
  else ++runSize_;
  run_[runSize_ - 1] = nowMs;
  tempo_ = fitTempo(std::span(run_.data(), runSize_));
}

Tempo PluginBeatCounter::tempo(std::int64_t nowMs) const {
  if (last_ < 0 || nowMs - last_ > kStaleMs) return {};
  return tempo_;
}

}  // namespace vantorhost
