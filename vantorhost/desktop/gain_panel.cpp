#include "vantorhost/desktop/gain_panel.h"

#include <QSignalBlocker>

#include "vantorhost/base/log.h"
#include "vantorhost/desktop/panel_row.h"
#include "vantorhost/desktop/readout_label.h"

namespace vantorhost {

namespace {

// The bridge's level of digital silence.
constexpr double kSilentDb = VBVIS_SILENCE_DB;

QString gainShown(double db) {
  return QString::fromStdString((db >= 0.05 ? "+" : "") + decibelText(db) + " dB");
}

// The input's level before and after the gain.
QString levelsShown(const vbvis_gain_state& state) {
  if (state.input_db <= kSilentDb) return "silent";
  return QString::fromStdString("in " + decibelText(state.input_db) + ", out " + decibelText(state.output_db) +
                                " dBFS");
}

}  // namespace

GainPanel::GainPanel(HostSettingsFile* kept, QWidget* parent)
    : QWidget(parent),
      kept_(kept),
      mode_(new QComboBox),
      fixed_(new QDoubleSpinBox),
      gainText_(readoutLabel("+36.0 dB")),
      levelText_(readoutLabel(QString("in -100.0, out -100.0 dBFS") + kHeld)) {
  mode_->addItem("Auto");
  mode_->addItem("Fixed");
  mode_->setToolTip("Auto brings quiet and loud music to the same level; Fixed applies the gain set beside it");
  fixed_->setRange(kMinGainDb, kMaxGainDb);
  fixed_->setDecimals(1);
  fixed_->setSingleStep(kStepDb);
  fixed_->setSuffix(" dB");
  // A typed gain applies once typing ends, not at each key.
  fixed_->setKeyboardTracking(false);
  fixed_->setToolTip("The fixed gain");
  gainText_->setToolTip("The gain applied now");
  levelText_->setToolTip("The input's level before and after the gain (dBFS)");

  layOutPanelRow(*this, "Gain:", {mode_, fixed_, gainText_, levelText_});

  vbvis_gain_state state{};
  vbvis_gain(&state);
  fixed_->setValue(state.fixed_db);
  showState(state);
  QObject::connect(mode_, &QComboBox::activated, this, [this] { apply(); });
  QObject::connect(fixed_, &QDoubleSpinBox::valueChanged, this, [this] {
    if (mode_->currentIndex() == Fixed) apply();
  });
}

GainChoice GainPanel::chosen() const {
  if (mode_->currentIndex() == Automatic) return GainChoice{true, 0.0};
  return GainChoice{false, fixed_->value()};
}

void GainPanel::apply() {
  const GainChoice choice = chosen();
  // The boxes keep to the bridge's range: it takes what they give.
  vbvis_set_gain(choice.automatic ? 1 : 0, choice.fixedDb);
  fixed_->setEnabled(!choice.automatic);
  hostLog("gain: " + describeGain(choice));
  refresh();
  if (!kept_) return;
  kept_->settings().gain = choice;
  kept_->save();
}

void GainPanel::refresh() {
  vbvis_gain_state state{};
  vbvis_gain(&state);
  showState(state);
}

void GainPanel::showState(const vbvis_gain_state& state) {
  const int mode = state.automatic ? Automatic : Fixed;
  if (mode_->currentIndex() != mode) {
    const QSignalBlocker quiet(mode_);
    mode_->setCurrentIndex(mode);
  }
  fixed_->setEnabled(!state.automatic);
  showReadout(*gainText_, gainShown(state.gain_db));
  QString levels = levelsShown(state);
  // Only an automatic gain is held; a fixed one never moves anyway.
  if (state.automatic && state.gated) levels += kHeld;
  showReadout(*levelText_, levels);
}

}  // namespace vantorhost
