#include "vantorhost/output/fade_stage.h"

#include <algorithm>

namespace vantorhost {

void FadeStage::setFade(std::int64_t ms, std::int64_t nowMs) {
  fadeMs_ = std::max<std::int64_t>(0, ms);
  for (const int i : falling_) {
    Fall& fall = falls_[static_cast<std::size_t>(i)];
    fall = {out_[static_cast<std::size_t>(i)], fall.to, nowMs};
  }
  if (fadeMs_ == 0) finish();
}

// On the straight line from `from` at the start to `to` a fade later,
// rounded to the nearest value (halves up).
std::uint8_t FadeStage::valueAt(const Fall& fall, std::int64_t nowMs) const {
  const std::int64_t left = fadeMs_ - (nowMs - fall.startMs);
  if (left <= 0) return fall.to;
  if (left >= fadeMs_) return fall.from;
  return static_cast<std::uint8_t>(fall.to + ((fall.from - fall.to) * left + fadeMs_ / 2) / fadeMs_);
}

void FadeStage::render(const std::uint8_t* in, std::int64_t nowMs) {
  if (fadeMs_ == 0 && falling_.empty()) {
    std::copy(in, in + ChannelBuffer::kChannels, out_.begin());
    return;
  }
  for (std::size_t i = 0; i < out_.size(); ++i) {
    const std::uint8_t value = in[i];
    if (value >= out_[i]) {
      out_[i] = value;
      isFalling_[i] = false;
      continue;
    }
    Fall& fall = falls_[i];
    if (!isFalling_[i] || fall.to != value) {
      fall = {out_[i], value, nowMs};
      if (!isFalling_[i]) falling_.push_back(static_cast<int>(i));
      isFalling_[i] = true;
    }
    out_[i] = valueAt(fall, nowMs);
    if (out_[i] == value) isFalling_[i] = false;
  }
  std::erase_if(falling_, [this](int i) { return !isFalling_[static_cast<std::size_t>(i)]; });
}

void FadeStage::finish() {
  for (const int i : falling_) {
    out_[static_cast<std::size_t>(i)] = falls_[static_cast<std::size_t>(i)].to;
    isFalling_[static_cast<std::size_t>(i)] = false;
  }
  falling_.clear();
}

}  // namespace vantorhost
