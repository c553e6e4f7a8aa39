#pragma once
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QWidget>

#include "vantorhost/output/output_path.h"
#include "vantorhost/run/host_settings.h"

namespace vantorhost {

// The grand master and the blackout, as on a lighting desk: the master
// scales every channel that goes out (0..100 %), the blackout sends 0 on
// every channel until it is released; both act on the output path after
// every other stage, at once. The blackout is a button that stays down,
// and the key B anywhere in Sonvero's windows (but in a text box) presses
// or releases it. The master is kept in the host settings file, the
// blackout never: a start is never dark by surprise.
class MasterPanel : public QWidget {
 public:
  static constexpr const char* kBlackoutKey = "B";

  // `kept` may be null: nothing kept.
  MasterPanel(OutputPath& path, HostSettingsFile* kept, QWidget* parent = nullptr);

  QSlider& master() const { return *master_; }
  QLabel& masterText() const { return *masterText_; }
  QPushButton& blackout() const { return *blackout_; }
  QShortcut& blackoutKey() const { return *blackoutKey_; }

 private:
  void showMaster(int percent);

  OutputPath& path_;
  HostSettingsFile* kept_;
  QSlider* master_;
  QLabel* masterText_;
  QPushButton* blackout_;
  QShortcut* blackoutKey_;
};

}  // namespace vantorhost
