#include "vantorhost/desktop/master_panel.h"

#include "vantorhost/desktop/panel_row.h"


namespace vantorhost {

MasterPanel::MasterPanel(OutputPath& path, HostSettingsFile* kept, QWidget* parent)
    : QWidget(parent),
      path_(path),
      kept_(kept),
      master_(new QSlider(Qt::Horizontal)),
      masterText_(new QLabel),
      blackout_(new QPushButton("Blackout")),
      blackoutKey_(new QShortcut(QKeySequence(kBlackoutKey), this)) {
  master_->setRange(0, OutputPath::kFullMaster);
  master_->setPageStep(10);
  master_->setValue(path_.masterPercent());
  master_->setFixedWidth(110);
  master_->setToolTip("Grand master: scales every channel that goes out");
  masterText_->setMinimumWidth(masterText_->fontMetrics().horizontalAdvance("100 %"));
  showMaster(path_.masterPercent());
  blackout_->setCheckable(true);
  blackout_->setChecked(path_.blackout());
  blackout_->setToolTip("Sends 0 on every channel until released (key B)");
  blackoutKey_->setContext(Qt::ApplicationShortcut);
  // A held key repeats: once per press, or holding B would strobe the rig.
  blackoutKey_->setAutoRepeat(false);

  layOutPanelRow(*this, "Master:", {master_, masterText_, blackout_});

  QObject::connect(master_, &QSlider::valueChanged, this, [this](int percent) {
    path_.setMaster(percent);
    showMaster(percent);
    if (!kept_) return;
    kept_->settings().masterPercent = percent;
    kept_->save();
  });
  QObject::connect(blackout_, &QPushButton::toggled, this, [this](bool on) { path_.setBlackout(on); });
  QObject::connect(blackoutKey_, &QShortcut::activated, blackout_, &QPushButton::toggle);
}

void MasterPanel::showMaster(int percent) { masterText_->setText(QString("%1 %").arg(percent)); }

}  // namespace vantorhost
