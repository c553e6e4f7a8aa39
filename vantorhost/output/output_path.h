#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "toolkit/application.h"
#include "vantorhost/base/channel_buffer.h"
#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/output/fade_stage.h"
#include "vantorhost/output/output_layer.h"
#include "vantorhost/output/patch_stage.h"

namespace vantorhost {

// The channels' way out of the host, in stages:
//
//   the plug-in's channels -> output delay -> the patch's rest values
//     -> HTP layers (the beat output) -> fade -> master and blackout
//     -> sent(): the DMX output and the monitor
//
// Right after every event the plug-in ran (a tick, a click) the path hands
// the channels on: no timer stands between the tick and the light. Besides
// that it renders a frame when something moves by itself: held-back
// channels falling due, every kFrameMs while a channel fades down, and
// when a layer's values change.
// It never wakes while nothing moves. Whoever runs it (the desktop's timer,
// the headless loop, a script's advance) wakes it at nextWakeMs(), which
// it also tells the Wake callback after each hand-on.
// With every stage at rest (no delay, no fixture, no layer, no fade, master
// 100 %, no blackout) what goes out is the plug-in's buffer as it stands.
class OutputPath final : public tk::FormObserver {
 public:
  using Clock = std::function<std::int64_t()>;
  // Told the buffer that went out whenever it moved.
  using Watcher = std::function<void(const ChannelBuffer&, std::int64_t nowMs)>;
  // Told when the path next wants handOn() to run; the runner keeps only
  // the earliest time it was told.
  using Wake = std::function<void(std::int64_t dueMs)>;
  // More held-back changes than this (clicks faster than 2 a millisecond
  // over the longest delay) send the oldest early.
  static constexpr std::size_t kMaxHeld = 1024;
  // The DMX frame: 40 frames a second while a channel fades.
  static constexpr std::int64_t kFrameMs = 25;
  static constexpr int kFullMaster = 100;

  // Joins the toolkit's observers for as long as it lives.
  OutputPath(const ChannelBuffer& channels, DmxOutput& output, Clock clock);
  ~OutputPath() override;
  OutputPath(const OutputPath&) = delete;
  OutputPath& operator=(const OutputPath&) = delete;

  // The one who watches (the host window's monitor); none: nullptr.
  void setWatcher(Watcher watcher) { watcher_ = std::move(watcher); }
  void setWake(Wake wake) { wake_ = std::move(wake); }
  void afterEvent() override { handOn(); }
  // Hands the channels on now: after an event, when it asked to be woken,
  // for the output's upkeep a few times a second (reconnecting, its log
  // lines), and once more before the output closes. Renders a frame when
  // the input moved or a frame is due.
  void handOn();
  // When handOn() should run next for a frame; -1 when nothing moves.
  std::int64_t nextWakeMs() const;

  // Changes from now on and those still held back go out `ms` after they
  // were made.
  void setDelay(std::int64_t ms);
  std::int64_t delayMs() const { return delayMs_; }
  // Channels going out fall over `ms` (0: no fade); rises stay immediate.
  void setFade(std::int64_t ms);
  std::int64_t fadeMs() const { return fade_.fadeMs(); }
  // Every channel scaled by 0..100 %, and blackout: 0 on every channel.
  // Both act on what goes out at once, the frame gap of the DMX output
  // waived.
  void setMaster(int percent);
  int masterPercent() const { return master_; }
  void setBlackout(bool on);
  bool blackout() const { return blackout_; }
  // The patch: rest values on the fixtures' channels that `driven` (the
  // channels the design drives) leaves out, and the master and blackout on
  // fixtures' intensities only (patch_stage.h). Rendered at once when that
  // changes anything.
  void setPatch(const FixturePatch& patch, const std::vector<std::int16_t>& driven);
  // A layer merged HTP before the fade; it must outlive the path or be
  // removed first. Rendered at once.
  void addLayer(OutputLayer& layer);
  void removeLayer(const OutputLayer& layer);
  // A layer's look changed (not by itself in time): render at once.
  void layerChanged() { restage(false); }
  // The program is ending: held-back channels and falls end where they
  // are going, and that goes out.
  void finish();

  // What has gone out: the plug-in's channels as they were a delay ago,
  // through every stage.
  const ChannelBuffer& sent() const { return sent_; }
  DmxOutput& output() const { return output_; }

 private:
  struct Change {
    std::int64_t atMs;
    std::array<std::uint8_t, ChannelBuffer::kChannels> values;
  };
  // Takes what the delay lets through now; true when the input moved.
  bool takeInput(std::int64_t nowMs);
  // Holds the plug-in's channels back as they are now.
  void hold(std::int64_t nowMs);
  // The input through the layers, the fade, the master and the blackout
  // into what goes out.
  void render(std::int64_t nowMs);
  bool frameDue(std::int64_t nowMs) const;
  // Copies channels 1..1024 (`channels`, in one run) into what went out.
  void release(const std::uint8_t* channels, std::int64_t nowMs);
  // Renders and hands on at once (a stage changed).
  void restage(bool urgent);

  const ChannelBuffer& channels_;
  DmxOutput& output_;
  Clock clock_;
  Watcher watcher_;
  Wake wake_;
  std::int64_t delayMs_ = 0;
  std::deque<Change> held_;
  // The input of the stages: the plug-in's buffer, or what the delay let through.
  const std::uint8_t* input_;
  std::array<std::uint8_t, ChannelBuffer::kChannels> delayed_{};
  std::array<std::uint8_t, ChannelBuffer::kChannels> staged_{};
  PatchStage patch_;
  std::vector<OutputLayer*> layers_;
  FadeStage fade_;
  int master_ = kFullMaster;
  bool blackout_ = false;
  bool restage_ = false;  // a stage changed: render on the next hand-on
  bool urgent_ = false;   // the next frame goes out without the frame gap
  std::int64_t lastRenderMs_ = -1;
  ChannelBuffer sent_;
  std::array<std::uint64_t, 2> taken_{~std::uint64_t{0}, ~std::uint64_t{0}};  // of channels_
  std::array<std::uint64_t, 2> shown_{};                                      // of sent_
};

}  // namespace vantorhost
