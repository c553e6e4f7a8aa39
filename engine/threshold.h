#pragma once
// A switch on a threshold, as every output of the tick has one: strictly
// above the threshold a value passes (or is replaced by a set value),
// anything else, the threshold itself included, gives 0.
#include <cstdint>

namespace engine {

struct Threshold {
  std::int32_t threshold;
  bool setOnExceed;       // above the threshold: send setValue instead of the value
  std::int32_t setValue;
};

inline std::int32_t applyThreshold(std::int32_t value, const Threshold& t) {
  if (value <= t.threshold) return 0;
  return t.setOnExceed ? t.setValue : value;
}

}  // namespace engine
