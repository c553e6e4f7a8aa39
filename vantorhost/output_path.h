#pragma once
#include <array>
#include <cstdint>
#include <functional>

#include "toolkit/application.h"
#include "vantorhost/channel_buffer.h"
#include "vantorhost/dmx/dmx_output.h"

namespace vantorhost {

// The channels' way out of the host. Right after every event the plug-in
// ran (a tick, a click) the channel buffer goes on to the DMX output and to
// whoever watches what goes out (the monitor): no timer stands between the
// tick and the light. A stage that changes what goes out, such as an output
// delay, sits in handOn(): it keeps a buffer of its own, fed from the
// plug-in's, and hands that one on when it is due.
class OutputPath final : public tk::FormObserver {
 public:
  using Clock = std::function<std::int64_t()>;
  // Told the buffer that went out whenever it moved.
  using Watcher = std::function<void(const ChannelBuffer&, std::int64_t nowMs)>;

  // Joins the toolkit's observers for as long as it lives.
  OutputPath(const ChannelBuffer& channels, DmxOutput& output, Clock clock);
  ~OutputPath() override;
  OutputPath(const OutputPath&) = delete;
  OutputPath& operator=(const OutputPath&) = delete;

  // The one who watches (the host window's monitor); none: nullptr.
  void setWatcher(Watcher watcher) { watcher_ = std::move(watcher); }
  void afterEvent() override { handOn(); }
  // Hands the channels on now: after an event, for the output's upkeep a
  // few times a second (reconnecting, its log lines), and once more before
  // the output closes.
  void handOn();

  DmxOutput& output() const { return output_; }

 private:
  const ChannelBuffer& channels_;
  DmxOutput& output_;
  Clock clock_;
  Watcher watcher_;
  std::array<std::uint64_t, 2> seen_{~std::uint64_t{0}, ~std::uint64_t{0}};
};

}  // namespace vantorhost
