#pragma once
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <vector>

#include "vantorhost/desktop/beat_indicator.h"
#include "vantorhost/desktop/step_spin_box.h"
#include "vantorhost/output/tracker_clock.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

// The bridge's beat tracker and the design's beat pattern. The lamp lights
// on every beat the tracker predicts, at the moment it is heard, and the
// tempo shows with one decimal and whether the tracker is locked or still
// searching, so a user sees it is on the beat before letting it light
// anything. The beat pattern the beat output plays: off, flash (every
// channel of its list) or chase (the next channel of its list on each
// beat), how long each beat's light stays on, and what it follows: the
// tracker, the Link session or the session led from the tracker. Part of
// the show: a change here is a change of the design, and opening a show
// sets the panel.
class BeatPanel : public QWidget {
 public:
  static constexpr int kFlashStepMs = 10;

  explicit BeatPanel(HostSession& session, TrackerClock clock = TrackerClock(), QWidget* parent = nullptr);
  ~BeatPanel() override;

  // On the window's upkeep: the tracker's tempo and lock, and a reading for
  // the next beat while none is known.
  void refresh();

  BeatIndicator& lamp() const { return *lamp_; }
  QLabel& tempo() const { return *tempo_; }
  QComboBox& mode() const { return *mode_; }
  QLineEdit& channels() const { return *channels_; }
  StepSpinBox& flash() const { return *flash_; }
  // Tracker, Link, Lead: the beat source.
  QComboBox& source() const { return *source_; }

  // "6 7 8" or "6, 7, 8": channels 1..1024, at most 1024; nullopt for any other text.
  static std::optional<std::vector<std::int16_t>> channelsFrom(const QString& text);

 private:
  // Lights the lamp when a beat falls due and waits for the next.
  void readTracker();
  void show(const HostDesign& design);
  void apply();

  HostSession& session_;
  TrackerClock clock_;
  BeatIndicator* lamp_;
  QLabel* tempo_;
  QComboBox* mode_;
  QLineEdit* channels_;
  StepSpinBox* flash_;
  QComboBox* source_;
  QTimer nextBeat_;
  int watch_;
};

}  // namespace vantorhost
