#pragma once
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "vantorhost/audio_state_log.h"
#include "vantorhost/desktop/beat_indicator.h"
#include "vantorhost/desktop/dmx_monitor_widget.h"
#include "vantorhost/dmx/dmx_output.h"
#include "vantorhost/host_session.h"

namespace vantorhost {

// The host's own window: the states of the audio source and the DMX output,
// the beat tool (lamp, count, tempo), a button that opens Sonvero's window
// again and the DMX monitor. Every 20 ms it hands the channels to the DMX
// output. Closing it closes Sonvero's window (so its settings are saved)
// and then tells onClosed.
class HostWindow : public QWidget {
 public:
  static constexpr int kServiceMs = 20;
  static constexpr int kRefreshEvery = 5;  // service ticks per monitor refresh

  HostWindow(HostSession& session, DmxOutput& dmx, QWidget* parent = nullptr);

  // One step of the service timer.
  void serviceTick();
  // Checked on every service tick; true closes the window (Ctrl-C).
  std::function<bool()> stopRequested;
  std::function<void()> onClosed;

  DmxMonitorWidget& monitor() const { return *monitor_; }
  BeatIndicator& beatLamp() const { return *beatLamp_; }
  QLabel& beatText() const { return *beatText_; }
  QLabel& audioText() const { return *audioText_; }
  QLabel& dmxText() const { return *dmxText_; }
  QPushButton& reopenButton() const { return *reopen_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void refreshStatus(std::int64_t nowMs);
  bool mainWindowOpen() const;

  HostSession& session_;
  DmxOutput& dmx_;
  DmxMonitorWidget* monitor_;
  BeatIndicator* beatLamp_;
  QLabel *beatText_, *audioText_, *dmxText_;
  QPushButton* reopen_;
  QTimer service_;
  int ticks_ = 0;
  AudioStateLog audioState_;
};

}  // namespace vantorhost
