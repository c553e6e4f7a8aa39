#pragma once
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "vantorhost/audio_state_log.h"
#include "vantorhost/desktop/beat_indicator.h"
#include "vantorhost/desktop/dmx_monitor_widget.h"
#include "vantorhost/desktop/refresh_pacer.h"
#include "vantorhost/host_session.h"
#include "vantorhost/output_path.h"

namespace vantorhost {

// The host's own window: the states of the audio source and the DMX output,
// the beat tool (lamp, count, tempo), a button that opens Sonvero's window
// again and the DMX monitor. Each part refreshes when what it shows moves:
// the monitor when the output path hands channels on (at most every
// kMonitorGapMs, never while the window is hidden or minimised), the beat
// tool on each beat; the states, the output's upkeep and a stop request are
// looked at every kUpkeepMs. Closing it closes Sonvero's window (so its
// settings are saved) and then tells onClosed.
class HostWindow : public QWidget {
 public:
  static constexpr int kUpkeepMs = 250;
  static constexpr int kMonitorGapMs = 40;  // 25 refreshes a second at most

  HostWindow(HostSession& session, OutputPath& path, QWidget* parent = nullptr);
  ~HostWindow() override;

  // One round of the upkeep timer.
  void upkeep();
  // Checked on every upkeep; true closes the window (Ctrl-C).
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
  void showBeatCount(std::int64_t nowMs);
  void refreshStatus(std::int64_t nowMs);
  bool mainWindowOpen() const;

  HostSession& session_;
  OutputPath& path_;
  DmxMonitorWidget* monitor_;
  BeatIndicator* beatLamp_;
  QLabel *beatText_, *audioText_, *dmxText_;
  QPushButton* reopen_;
  RefreshPacer* monitorPacer_;
  QTimer upkeep_;
  AudioStateLog audioState_;
};

}  // namespace vantorhost
