#pragma once
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QWidget>

#include "bridge/vbvis.h"
#include "vantorhost/run/host_settings.h"

namespace vantorhost {

// The gain ahead of the analysis, as the spectrum and the levels the plug-in
// reads follow it: automatic or fixed at a number of dB, chosen here, set in
// the bridge at once and kept in the host settings file. Beside the choice
// it shows the gain applied now, the input's level before and after it, and
// when the gate holds an automatic gain because the input is (nearly)
// silent. It has no timer of its own: the host window calls refresh() on its
// upkeep.
class GainPanel : public QWidget {
 public:
  enum Mode { Automatic = 0, Fixed = 1 };  // the mode box's entries
  static constexpr double kStepDb = 0.5;
  // After the levels while the gate holds an automatic gain.
  static constexpr const char* kHeld = ", held (quiet input)";

  // `kept` may be null: nothing kept. Shows the bridge's gain as it stands.
  explicit GainPanel(HostSettingsFile* kept, QWidget* parent = nullptr);

  // Reads the bridge's gain and shows it.
  void refresh();
  // Shows `state` as refresh() does with the bridge's.
  void showState(const vbvis_gain_state& state);

  QComboBox& mode() const { return *mode_; }
  QDoubleSpinBox& fixedBox() const { return *fixed_; }
  // The gain applied now.
  QLabel& gainText() const { return *gainText_; }
  // The input's level before and after the gain, and the gate.
  QLabel& levelText() const { return *levelText_; }

 private:
  // The choice the mode box and the fixed box make together.
  GainChoice chosen() const;
  // Sets what the user chose in the bridge and keeps it.
  void apply();

  HostSettingsFile* kept_;
  QComboBox* mode_;
  QDoubleSpinBox* fixed_;
  QLabel* gainText_;
  QLabel* levelText_;
};

}  // namespace vantorhost
