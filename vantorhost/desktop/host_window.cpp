#include "vantorhost/desktop/host_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "audio/vbvis/vbvis.h"
#include "toolkit/application.h"

namespace vantorhost {

HostWindow::HostWindow(HostSession& session, DmxOutput& dmx, QWidget* parent)
    : QWidget(parent),
      session_(session),
      dmx_(dmx),
      monitor_(new DmxMonitorWidget(session.channels())),
      beatLamp_(new BeatIndicator),
      beatText_(new QLabel),
      audioText_(new QLabel),
      dmxText_(new QLabel),
      reopen_(new QPushButton("Open Sonvero")) {
  setWindowTitle("Sonvero host");
  auto* status = new QHBoxLayout;
  status->addWidget(audioText_);
  status->addSpacing(16);
  status->addWidget(dmxText_);
  status->addStretch(1);
  status->addWidget(new QLabel("Beat tool:"));
  status->addWidget(beatLamp_);
  status->addWidget(beatText_);
  status->addSpacing(16);
  status->addWidget(reopen_);

  auto* scroll = new QScrollArea;
  scroll->setWidget(monitor_);
  scroll->setWidgetResizable(false);
  // Wide enough for all 32 columns beside the vertical scroll bar.
  const int monitorWidth = monitor_->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width() +
                           2 * scroll->frameWidth();
  scroll->setMinimumWidth(monitorWidth);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(status);
  layout->addWidget(scroll, 1);
  resize(monitorWidth + 2 * layout->contentsMargins().left(), 640);

  QObject::connect(reopen_, &QPushButton::clicked, [this] { session_.openMainWindow(); });
  QObject::connect(&service_, &QTimer::timeout, [this] { serviceTick(); });
  service_.setTimerType(Qt::PreciseTimer);
  service_.start(kServiceMs);
  refreshStatus(session_.loop().nowMs());
}

bool HostWindow::mainWindowOpen() const {
  const tk::Form* window = session_.mainWindow();
  return window && window->loaded();
}

void HostWindow::serviceTick() {
  if (stopRequested && stopRequested()) {
    close();
    return;
  }
  const std::int64_t now = session_.loop().nowMs();
  dmx_.service(session_.channels());
  beatLamp_->follow(session_.beats().lastBeatMs(), now);
  if (++ticks_ % kRefreshEvery == 0) refreshStatus(now);
}

void HostWindow::refreshStatus(std::int64_t nowMs) {
  monitor_->refresh(nowMs);
  const double bpm = session_.beats().bpm(nowMs);
  beatText_->setText(QString("%1 beats, %2 BPM")
                         .arg(session_.beats().count())
                         .arg(bpm > 0 ? QString::number(bpm, 'f', 1) : QString("--")));
  audioState_.poll();
  QString audio = QString("Audio: %1").arg(QString::fromUtf8(vbvis_source_uri()));
  if (audioState_.state() != VBVIS_STATE_PLAYING) audio += QString(" (%1)").arg(QString::fromStdString(audioState_.text()));
  audioText_->setText(audio);
  dmxText_->setText(QString::fromStdString(dmx_.status()));
  reopen_->setEnabled(!mainWindowOpen());
}

void HostWindow::closeEvent(QCloseEvent* event) {
  service_.stop();
  if (tk::Form* window = session_.mainWindow(); window && window->loaded())
    tk::app().runEvent([window] { window->unload(tk::UnloadMode::HostClosing); });
  // What the plug-in sent last goes out before the host stops.
  dmx_.service(session_.channels());
  event->accept();
  if (onClosed) onClosed();
}

}  // namespace vantorhost
