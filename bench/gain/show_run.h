#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace gainbench {

// What a show sends while it plays `uri` for `ms` in a session script run
// by the program itself (the plug-in, on the simulated clock): each
// channel's value at every tick. The gain is set before the run; automatic
// starts from 0 dB.
struct ChannelValues {
  std::map<int, std::vector<std::pair<std::int64_t, int>>> ticks;  // channel: (ms, value)
  // The mean of a channel over the ticks after `fromMs`; the highest likewise.
  double mean(int channel, std::int64_t fromMs) const;
  int highest(int channel, std::int64_t fromMs) const;
};

ChannelValues runShow(const std::string& showPath, const std::string& uri, std::int64_t ms, bool automatic,
                      double fixedDb, const std::string& folder);

}  // namespace gainbench
