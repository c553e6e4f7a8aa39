#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <functional>

#include "toolkit/application.h"
#include "vantorhost/base/channel_buffer.h"
#include "vantorhost/dmx/dmx_output.h"

namespace vantorhost {

// The channels' way out of the host. Right after every event the plug-in
// ran (a tick, a click) the channel buffer goes on to the DMX output and to
// whoever watches what goes out (the monitor): no timer stands between the
// tick and the light. The output delay sits in handOn(): each change of the
// plug-in's buffer is held back for the delay and then copied into a buffer
// of the path's own (sent()), which is what the output and the monitor get.
// With a delay, the runner wakes the path when held-back channels fall due
// (setWake).
class OutputPath final : public tk::FormObserver {
 public:
  using Clock = std::function<std::int64_t()>;
  // Told the buffer that went out whenever it moved.
  using Watcher = std::function<void(const ChannelBuffer&, std::int64_t nowMs)>;
  // Told when the earliest held-back change falls due, so that handOn()
  // runs then.
  using Wake = std::function<void(std::int64_t dueMs)>;
  // More held-back changes than this (clicks faster than 2 a millisecond
  // over the longest delay) send the oldest early.
  static constexpr std::size_t kMaxHeld = 1024;

  // Joins the toolkit's observers for as long as it lives.
  OutputPath(const ChannelBuffer& channels, DmxOutput& output, Clock clock);
  ~OutputPath() override;
  OutputPath(const OutputPath&) = delete;
  OutputPath& operator=(const OutputPath&) = delete;

  // The one who watches (the host window's monitor); none: nullptr.
  void setWatcher(Watcher watcher) { watcher_ = std::move(watcher); }
  void setWake(Wake wake) { wake_ = std::move(wake); }
  void afterEvent() override { handOn(); }
  // Hands the channels on now: after an event, when held-back channels
  // fall due, for the output's upkeep a few times a second (reconnecting,
  // its log lines), and once more before the output closes.
  void handOn();
  // Changes from now on and those still held back go out `ms` after they
  // were made.
  void setDelay(std::int64_t ms);
  std::int64_t delayMs() const { return delayMs_; }
  // When the earliest held-back change falls due; -1 when none is held.
  std::int64_t nextDueMs() const { return held_.empty() ? -1 : held_.front().atMs + delayMs_; }

  // What has gone out: the plug-in's channels as they were a delay ago.
  const ChannelBuffer& sent() const { return sent_; }
  DmxOutput& output() const { return output_; }

 private:
  struct Change {
    std::int64_t atMs;
    std::array<std::uint8_t, ChannelBuffer::kChannels> values;
  };
  // Holds the plug-in's channels back as they are now.
  void hold(std::int64_t nowMs);
  // Copies channels 1..1024 (`channels`, in one run) into what went out.
  void release(const std::uint8_t* channels, std::int64_t nowMs);

  const ChannelBuffer& channels_;
  DmxOutput& output_;
  Clock clock_;
  Watcher watcher_;
  Wake wake_;
  std::int64_t delayMs_ = 0;
  std::deque<Change> held_;
  ChannelBuffer sent_;
  std::array<std::uint64_t, 2> taken_{~std::uint64_t{0}, ~std::uint64_t{0}};  // of channels_
  std::array<std::uint64_t, 2> shown_{};                                      // of sent_
};

}  // namespace vantorhost
