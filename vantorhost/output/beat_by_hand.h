#pragma once
// The operator's hands on the bridge's beat tracker, as the host window's
// buttons and keys and a script's lines use them: a tap now, the beat moved
// by half a beat or by whole milliseconds, the beat held or let the tracker
// lead. The bridge's functions by default; tests hand in their own.
#include <cstdint>

namespace vantorhost {

class BeatByHand {
 public:
  struct Calls {
    std::int32_t (*tap)(std::int64_t atUs);
    void (*nudge)(std::int64_t us);
    void (*nudgeHalf)();
    void (*hold)(std::int32_t hold);
    std::int32_t (*held)();
    std::int64_t (*clockUs)();
  };
  // The fine step of the host window's earlier and later, and the most a
  // nudge may move the beat.
  static constexpr int kStepMs = 10;
  static constexpr int kMaxNudgeMs = 250;

  BeatByHand();
  explicit BeatByHand(const Calls& calls) : calls_(calls) {}

  // A tap at the bridge's clock now; returns the taps in the row so far.
  int tap() const { return calls_.tap(calls_.clockUs()); }
  void half() const { calls_.nudgeHalf(); }
  // Later by `ms` (earlier when negative), within kMaxNudgeMs.
  void nudge(int ms) const;
  void hold(bool on) const { calls_.hold(on ? 1 : 0); }
  bool held() const { return calls_.held() != 0; }

 private:
  Calls calls_;
};

}  // namespace vantorhost
