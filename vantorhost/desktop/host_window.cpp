#include "vantorhost/desktop/host_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "audio/vbvis/vbvis.h"
#include "toolkit/application.h"

namespace vantorhost {

HostWindow::HostWindow(HostSession& session, OutputPath& path, QWidget* parent)
    : QWidget(parent),
      session_(session),
      path_(path),
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

  auto clock = [this] { return session_.loop().nowMs(); };
  monitorPacer_ = new RefreshPacer(*monitor_, kMonitorGapMs, clock, [this, clock] {
    const std::int64_t nextExpiry = monitor_->refresh(clock());
    if (nextExpiry >= 0) monitorPacer_->requestAt(nextExpiry);
  });
  monitorPacer_->setParent(this);
  path_.setWatcher([this](const ChannelBuffer&, std::int64_t) { monitorPacer_->request(); });
  session_.helper().setOnBeat([this] {
    beatLamp_->flash();
    showBeatCount(session_.loop().nowMs());
  });

  QObject::connect(reopen_, &QPushButton::clicked, [this] { session_.openMainWindow(); });
  QObject::connect(&upkeep_, &QTimer::timeout, [this] { upkeep(); });
  upkeep_.start(kUpkeepMs);
  refreshStatus(session_.loop().nowMs());
}

HostWindow::~HostWindow() {
  path_.setWatcher(nullptr);
  session_.helper().setOnBeat(nullptr);
}

bool HostWindow::mainWindowOpen() const {
  const tk::Form* window = session_.mainWindow();
  return window && window->loaded();
}

void HostWindow::upkeep() {
  if (stopRequested && stopRequested()) {
    close();
    return;
  }
  path_.handOn();
  refreshStatus(session_.loop().nowMs());
}

void HostWindow::showBeatCount(std::int64_t nowMs) {
  beatText_->setText(QString("%1 beats, %2 BPM")
                         .arg(session_.beats().count())
                         .arg(QString::fromStdString(tempoText(session_.beats().tempo(nowMs)))));
}

void HostWindow::refreshStatus(std::int64_t nowMs) {
  showBeatCount(nowMs);  // the tempo fades without beats
  audioState_.poll();
  QString audio = QString("Audio: %1").arg(QString::fromUtf8(vbvis_source_uri()));
  if (audioState_.state() != VBVIS_STATE_PLAYING) audio += QString(" (%1)").arg(QString::fromStdString(audioState_.text()));
  audioText_->setText(audio);
  dmxText_->setText(QString::fromStdString(path_.output().status()));
  reopen_->setEnabled(!mainWindowOpen());
}

void HostWindow::closeEvent(QCloseEvent* event) {
  upkeep_.stop();
  if (tk::Form* window = session_.mainWindow(); window && window->loaded())
    tk::app().runEvent([window] { window->unload(tk::UnloadMode::HostClosing); });
  // What the plug-in sent last goes out before the host stops.
  path_.handOn();
  event->accept();
  if (onClosed) onClosed();
}

}  // namespace vantorhost
