#include "vantorhost/desktop/link_panel.h"

#include <QSignalBlocker>

#include "vantorhost/base/log.h"
#include "vantorhost/base/tempo.h"
#include "vantorhost/desktop/panel_row.h"

namespace vantorhost {

LinkPanel::LinkPanel(LinkSession& link, const BeatSource& beats, HostSettingsFile* kept, QWidget* parent)
    : QWidget(parent), link_(link), beats_(beats), kept_(kept), toggle_(new QCheckBox("Link")), sessionText_(new QLabel) {
  toggle_->setToolTip("Join the Ableton Link session on the local network: DJ software and other Sonvero machines "
                      "share its tempo and beat");
  sessionText_->setMinimumWidth(sessionText_->fontMetrics().horizontalAdvance("00 peers, 000.0 BPM"));
  layOutPanelRow(*this, "", {toggle_, sessionText_});
  QObject::connect(toggle_, &QCheckBox::toggled, this, [this](bool on) {
    link_.enable(on);
    hostLog(on ? "Link: on, a peer of the session on the local network" : "Link: off");
    refresh();
    if (!kept_) return;
    kept_->settings().link = on;
    kept_->save();
  });
  refresh();
}

void LinkPanel::refresh() {
  {
    const QSignalBlocker quiet(toggle_);
    toggle_->setChecked(link_.enabled());
  }
  const std::size_t peers = link_.peers();
  sessionText_->setText(!link_.enabled() ? QString("off")
                                         : QString("%1 %2, %3 BPM")
                                               .arg(peers)
                                               .arg(peers == 1 ? "peer" : "peers")
                                               .arg(QString::fromStdString(tempoText(Tempo{link_.tempo(), true}))));
  sessionText_->setToolTip(QString::fromStdString("Beats: " + beats_.state()));
}

}  // namespace vantorhost
