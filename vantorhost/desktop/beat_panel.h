#pragma once
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

#include "vantorhost/desktop/beat_indicator.h"
#include "vantorhost/desktop/step_spin_box.h"
#include "vantorhost/link/beat_source.h"
#include "vantorhost/output/beat_by_hand.h"
#include "vantorhost/output/tracker_clock.h"
#include "vantorhost/session/host_session.h"

namespace vantorhost {

// The bridge's beat tracker and the design's beat pattern. The lamp lights
// on every beat the tracker predicts, at the moment it is heard, and the
// tempo shows with one decimal and whether the tracker is locked or still
// searching, so a user sees it is on the beat before letting it light
// anything. The operator's hands on that beat: Tap (or the key T) on the
// beat, four taps set tempo and phase; Half beat (H) moves it half a beat,
// Earlier and Later ([ and ]) 10 ms; Hold keeps it at its tempo and phase
// until it is let go. The beat pattern the beat output plays: off, flash
// (every channel of its list) or chase (the next channel of its list on
// each beat), how long each beat's light stays on, and what it follows:
// the tracker, the Link session or the session led from the tracker. Part
// of the show: a change of the pattern or the source is a change of the
// design, and opening a show sets the panel; the hands are not part of it.
// The hands act on the tracker: a session this Sonvero leads takes what
// they moved, and while the beat follows a Link session that another peer
// leads they are off (link/beat_source.h).
class BeatPanel : public QWidget {
 public:
  static constexpr int kFlashStepMs = 10;

  // `beats` (may be null: the tracker drives the beat) is what the beat
  // output follows.
  explicit BeatPanel(HostSession& session, TrackerClock clock = TrackerClock(), BeatByHand hands = BeatByHand(),
                     BeatSource* beats = nullptr, QWidget* parent = nullptr);
  ~BeatPanel() override;

  // On the window's upkeep: the tracker's tempo and lock, a reading for
  // the next beat while none is known, and whether the hands reach the beat.
  void refresh();

  BeatIndicator& lamp() const { return *lamp_; }
  QLabel& tempo() const { return *tempo_; }
  QComboBox& mode() const { return *mode_; }
  QLineEdit& channels() const { return *channels_; }
  StepSpinBox& flash() const { return *flash_; }
  QPushButton& tap() const { return *tap_; }
  QPushButton& half() const { return *half_; }
  QPushButton& earlier() const { return *earlier_; }
  QPushButton& later() const { return *later_; }
  QPushButton& hold() const { return *hold_; }
  // Tracker, Link, Lead: the beat source.
  QComboBox& source() const { return *source_; }

  // "6 7 8" or "6, 7, 8": channels 1..1024, at most 1024; nullopt for any other text.
  static std::optional<std::vector<std::int16_t>> channelsFrom(const QString& text);

 private:
  // Lights the lamp when a beat falls due and waits for the next.
  void readTracker();
  void showDesign(const HostDesign& design);
  void apply();
  QPushButton* handButton(const QString& text, const QString& tip, const QKeySequence& key, void (BeatPanel::*act)());
  void tapped();
  void halved();
  void earlierStep();
  void laterStep();
  // After a tap or a nudge: the beat source is told, the tracker read.
  void moved();
  void showReach();

  HostSession& session_;
  TrackerClock clock_;
  BeatIndicator* lamp_;
  QLabel* tempo_;
  QComboBox* mode_;
  QLineEdit* channels_;
  StepSpinBox* flash_;
  BeatByHand hands_;
  BeatSource* beats_;
  QPushButton *tap_, *half_, *earlier_, *later_, *hold_;
  std::vector<std::pair<QPushButton*, QString>> handTips_;  // each hand's button and its own tip
  QComboBox* source_;
  QTimer nextBeat_;
  int watch_;
};

}  // namespace vantorhost
