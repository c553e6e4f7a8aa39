#pragma once
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "vantorhost/desktop/beat_indicator.h"
#include "vantorhost/desktop/dmx_monitor_widget.h"
#include "vantorhost/desktop/beat_panel.h"
#include "vantorhost/desktop/fade_panel.h"
#include "vantorhost/desktop/gain_panel.h"
#include "vantorhost/desktop/link_panel.h"
#include "vantorhost/desktop/master_panel.h"
#include "vantorhost/desktop/refresh_pacer.h"
#include "vantorhost/desktop/source_chooser.h"
#include "vantorhost/desktop/step_spin_box.h"
#include "vantorhost/output/output_path.h"
#include "vantorhost/run/audio_state_log.h"
#include "vantorhost/run/host_settings.h"
#include "vantorhost/run/light_status.h"
#include "vantorhost/run/quiet_input.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

// The host's own window: a status line that names why no light moves, the
// audio source with its input level, the gain ahead of the analysis, the
// output delay, the states of the audio source and the DMX output, the
// plug-in's beat counter (lamp, count and how many a minute; labelled as
// the plug-in's, so that the one tempo on screen is the tracker's), a
// button that opens Sonvero's window again, the output's own panels (the
// master and the blackout, the fade; the beats, with the operator's hands
// on them, in a row of their own) and the DMX monitor of what goes out.
// Each panel is a widget of its own that the window only places.
// Each part refreshes when what it shows moves, so that the window repaints
// about once per plug-in tick: the monitor when the output path hands
// channels on (at most every kMonitorGapMs, never while the window is
// hidden or minimised); what the path does by itself between ticks (a
// beat's light, a fade, held-back channels) and a highlight going out with
// the next tick's refresh, or kBetweenTicksLagMs later when no tick comes;
// the beat counter on each beat; the beat lamps going dark, the states, the
// gain and the status line with the monitor's refreshes (the status with
// the first after kUpkeepMs, or on the upkeep when the monitor has not
// refreshed for kStatusLateMs longer). The output's
// upkeep and a stop request are looked at every kUpkeepMs. The source, the
// gain and the delay chosen here are kept in the host settings file.
// Closing it closes Sonvero's window (so its settings are saved) and then
// tells onClosed.
class HostWindow : public QWidget {
 public:
  static constexpr int kUpkeepMs = 250;
  static constexpr int kStatusLateMs = 100;
  static constexpr int kMonitorGapMs = 40;  // 25 refreshes a second at most
  static constexpr int kBetweenTicksLagMs = 80;  // a tick and a little
  // A level below this (of 16000) is no sound.
  static constexpr int kQuietLevel = 16;

  // What drives the beats and the Link session it may follow, for the
  // window's Link toggle and the beats row's hands.
  struct Link {
    LinkSession& session;
    BeatSource& beats;
  };
  // `kept` (may be null: nothing kept) and `link` (may be empty: no Link
  // toggle) outlive the window.
  HostWindow(HostSession& session, OutputPath& path, HostSettingsFile* kept = nullptr,
             std::optional<Link> link = std::nullopt, QWidget* parent = nullptr);
  ~HostWindow() override;

  // One round of the upkeep timer; with `status`, the status shown anew too.
  void upkeep(bool status = true);
  // Checked on every upkeep; true closes the window (Ctrl-C).
  std::function<bool()> stopRequested;
  // Asked when the user closes the window (not when a stop is requested):
  // false keeps it open.
  std::function<bool()> mayClose;
  // Told when closing starts, while Sonvero's window is still there, and
  // when it is over.
  std::function<void()> onClosing, onClosed;

  DmxMonitorWidget& monitor() const { return *monitor_; }
  BeatIndicator& beatLamp() const { return *beatLamp_; }
  QLabel& beatText() const { return *beatText_; }
  // The audio source's trouble, if it has one.
  QLabel& audioText() const { return *audioText_; }
  QLabel& dmxText() const { return *dmxText_; }
  QLabel& statusLine() const { return *statusLine_; }
  SourceChooser& sources() const { return *sources_; }
  GainPanel& gainPanel() const { return *gain_; }
  StepSpinBox& delayBox() const { return *delayBox_; }
  MasterPanel& masterPanel() const { return *master_; }
  FadePanel& fadePanel() const { return *fade_; }
  BeatPanel& beatPanel() const { return *beats_; }
  // Null without a Link session.
  LinkPanel* linkPanel() const { return link_; }
  QPushButton& reopenButton() const { return *reopen_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The window, row by row from the top: each makes its widgets and
  // connects them. The status line and the DMX output's state; what comes
  // in (the source, its gain, the plug-in's beat counter, Sonvero's
  // window); what goes out (the output delay and the output's panels); the
  // DMX monitor. The Link toggle stands with the states, whose status line
  // gives way to it on a narrow screen.
  QLayout* statusRow(std::optional<Link> link);
  QLayout* inputRow();
  QLayout* outputRow();
  QLayout* beatsRow(std::optional<Link> link);
  QScrollArea* monitorArea();
  // The monitor and the held-back channels on the output path's word.
  void followOutput();
  // Hands on what the path does by itself (its own timer, the upkeep).
  void handOnBetweenTicks();
  void showBeatCount(std::int64_t nowMs);
  void refreshStatus(std::int64_t nowMs);
  LightFacts lightFacts(std::int64_t nowMs) const;
  void showLightStatus(const LightStatus& status);
  bool mainWindowOpen() const;

  HostSession& session_;
  OutputPath& path_;
  HostSettingsFile* kept_;
  // statusRow()
  QLabel *statusLine_ = nullptr, *dmxText_ = nullptr;
  LinkPanel* link_ = nullptr;
  // inputRow()
  SourceChooser* sources_ = nullptr;
  QLabel *audioText_ = nullptr, *beatText_ = nullptr;
  GainPanel* gain_ = nullptr;
  BeatIndicator* beatLamp_ = nullptr;
  QPushButton* reopen_ = nullptr;
  // outputRow()
  StepSpinBox* delayBox_ = nullptr;
  MasterPanel* master_ = nullptr;
  FadePanel* fade_ = nullptr;
  // beatsRow()
  BeatPanel* beats_ = nullptr;
  // monitorArea() and followOutput()
  DmxMonitorWidget* monitor_ = nullptr;
  int patchWatch_ = -1;
  RefreshPacer* monitorPacer_ = nullptr;
  QTimer upkeep_;
  QTimer heldBack_;  // wakes the output path when delayed channels fall due
  bool betweenTicks_ = false;  // the hand-on running is the path's own
  AudioStateLog audioState_;
  std::int64_t lastSoundMs_;
  QuietInput quiet_;
  std::optional<double> quietInputDb_;
  bool fixedGain_ = false;
  bool stopping_ = false;  // a stop was requested: closing asks nothing
  std::int64_t statusShownMs_ = 0;
};

}  // namespace vantorhost
