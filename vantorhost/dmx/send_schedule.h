#pragma once
#include <cstdint>

namespace vantorhost {

// When one universe goes out to olad: soon after it changed, but at most
// about 40 times a second, and at least once a second so that nodes that
// joined late get the look. Times are milliseconds on any steady clock.
class SendSchedule {
 public:
  static constexpr std::int64_t kMinGapMs = 25;    // 40 frames a second
  static constexpr std::int64_t kRefreshMs = 1000;

  // The universe's values moved since it was last sent.
  void changed() { dirty_ = true; }
  // Forget the last send: the next check sends at once (a fresh connection).
  void resend() { sentOnce_ = false; }
  void sent(std::int64_t nowMs);

  bool due(std::int64_t nowMs) const;
  // Whether it holds values not sent yet.
  bool pending() const { return dirty_ || !sentOnce_; }
  // The earliest time at which due() can become true without a new change.
  std::int64_t nextDueMs(std::int64_t nowMs) const;

 private:
  bool dirty_ = false;
  bool sentOnce_ = false;
  std::int64_t lastSentMs_ = 0;
};

}  // namespace vantorhost
