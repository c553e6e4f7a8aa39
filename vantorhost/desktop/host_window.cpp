#include "vantorhost/desktop/host_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "bridge/vbvis.h"
#include "toolkit/application.h"

namespace vantorhost {

namespace {

const char* moodStyle(LightStatus::Mood mood) {
  switch (mood) {
    case LightStatus::Mood::Problem:
      return "QLabel { background: #f6d5a8; color: #202020; padding: 3px; }";
    case LightStatus::Mood::Neutral:
      return "QLabel { background: #dcdcdc; color: #202020; padding: 3px; }";
    case LightStatus::Mood::Good:
      break;
  }
  return "QLabel { background: #b8e2b0; color: #202020; padding: 3px; }";
}

}  // namespace

HostWindow::HostWindow(HostSession& session, OutputPath& path, HostSettingsFile* kept, QWidget* parent)
    : QWidget(parent),
      session_(session),
      path_(path),
      kept_(kept),
      statusLine_(new QLabel),
      sources_(new SourceChooser),
      gain_(new GainPanel(kept)),
      delayBox_(new StepSpinBox(kMaxDelayMs, kDelayStepMs, " ms")),
      master_(new MasterPanel(path, kept)),
      fade_(new FadePanel(session)),
      beats_(new BeatPanel(session)),
      monitor_(new DmxMonitorWidget(path.sent())),
      beatLamp_(new BeatIndicator),
      beatText_(new QLabel),
      audioText_(new QLabel),
      dmxText_(new QLabel),
      reopen_(new QPushButton("Open Sonvero")),
      lastSoundMs_(session.loop().nowMs()) {
  setWindowTitle("Sonvero host");
  // Texts that come and go never widen the window beyond the screen: what
  // does not fit is cut, and the whole text is the tip.
  for (QLabel* changing : {statusLine_, audioText_})
    changing->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* top = new QHBoxLayout;
  top->addWidget(statusLine_, 1);
  top->addSpacing(12);
  top->addWidget(dmxText_);

  delayBox_->setToolTip("Holds the light back to line it up with speakers that lag behind the computer's sound");
  delayBox_->setValue(static_cast<int>(path_.delayMs()));
  // What comes in: the source, its gain, the beat tool, Sonvero's window.
  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel("Audio:"));
  controls->addWidget(sources_);
  controls->addWidget(audioText_);
  controls->addSpacing(16);
  controls->addWidget(gain_);
  controls->addStretch(1);
  controls->addWidget(new QLabel("Beat tool:"));
  controls->addWidget(beatLamp_);
  controls->addWidget(beatText_);
  controls->addSpacing(16);
  controls->addWidget(reopen_);

  // What goes out: the output's own panels; more join this row the same way.
  auto* output = new QHBoxLayout;
  output->addWidget(new QLabel("Output delay:"));
  output->addWidget(delayBox_);
  output->addSpacing(16);
  output->addWidget(master_);
  output->addSpacing(16);
  output->addWidget(fade_);
  output->addSpacing(16);
  output->addWidget(beats_);
  output->addStretch(1);

  auto* scroll = new QScrollArea;
  scroll->setWidget(monitor_);
  scroll->setWidgetResizable(false);
  // Wide enough for all 32 columns beside the vertical scroll bar; as low
  // as a small screen needs, showing fewer rows.
  const int monitorWidth = monitor_->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width() +
                           2 * scroll->frameWidth();
  scroll->setMinimumWidth(monitorWidth);
  scroll->setMinimumHeight(96);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(controls);
  layout->addLayout(output);
  layout->addWidget(scroll, 1);
  resize(monitorWidth + 2 * layout->contentsMargins().left(), 640);

  auto clock = [this] { return session_.loop().nowMs(); };
  monitorPacer_ = new RefreshPacer(*monitor_, kMonitorGapMs, clock, [this, clock] {
    const std::int64_t nextExpiry = monitor_->refresh(clock());
    if (nextExpiry >= 0) monitorPacer_->requestAt(nextExpiry);
  });
  monitorPacer_->setParent(this);
  path_.setWatcher([this](const ChannelBuffer&, std::int64_t) { monitorPacer_->request(); });
  heldBack_.setSingleShot(true);
  heldBack_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&heldBack_, &QTimer::timeout, [this] { path_.handOn(); });
  path_.setWake([this, clock](std::int64_t dueMs) {
    const int wait = static_cast<int>(std::max<std::int64_t>(0, dueMs - clock()));
    if (!heldBack_.isActive() || heldBack_.remainingTime() > wait) heldBack_.start(wait);
  });
  session_.helper().setOnBeat([this] {
    beatLamp_->flash();
    showBeatCount(session_.loop().nowMs());
  });

  sources_->onChosen = [this](const std::string& uri) {
    lastSoundMs_ = session_.loop().nowMs();
    if (!kept_) return;
    kept_->settings().source = uri;
    kept_->save();
  };
  QObject::connect(delayBox_, &QSpinBox::valueChanged, [this](int ms) {
    path_.setDelay(ms);
    if (!kept_) return;
    kept_->settings().delayMs = ms;
    kept_->save();
  });
  QObject::connect(reopen_, &QPushButton::clicked, [this] { session_.openMainWindow(); });
  QObject::connect(&upkeep_, &QTimer::timeout, [this] { upkeep(); });
  upkeep_.start(kUpkeepMs);
  refreshStatus(session_.loop().nowMs());
}

HostWindow::~HostWindow() {
  path_.setWatcher(nullptr);
  path_.setWake(nullptr);
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
  const PluginBeatCounter& counter = session_.pluginBeatCounter();
  beatText_->setText(QString("%1 beats, %2 BPM")
                         .arg(counter.count())
                         .arg(QString::fromStdString(tempoText(counter.tempo(nowMs)))));
}

LightFacts HostWindow::lightFacts(std::int64_t nowMs) const {
  LightFacts f;
  f.blackout = path_.blackout();
  f.masterPercent = path_.masterPercent();
  f.windowOpen = mainWindowOpen();
  IPluginDesign* plugin = session_.design();
  if (f.windowOpen && plugin) {
    const DesignSwitches switches = plugin->switches();
    f.outputOn = switches.outputOn;
    f.spectrumMuted = switches.spectrumMuted;
    f.vuMuted = switches.vuMuted;
  }
  f.anyChannels = plugin && plugin->anyChannels();
  if (plugin) f.universesInUse = universesOf(plugin->usedChannels());
  f.silent = nowMs - lastSoundMs_ >= kSilentSeconds * 1000;
  f.source = sources_->box().currentText().toStdString();
  if (audioState_.state() != VBVIS_STATE_PLAYING) f.sourceTrouble = audioState_.text();
  f.dmx = path_.output().facts();
  return f;
}

void HostWindow::showLightStatus(const LightStatus& status) {
  const QString text = QString::fromStdString(status.text);
  if (statusLine_->text() == text) return;
  statusLine_->setText(text);
  statusLine_->setToolTip(text);
  statusLine_->setStyleSheet(moodStyle(status.mood));
}

void HostWindow::refreshStatus(std::int64_t nowMs) {
  showBeatCount(nowMs);  // the tempo fades without beats
  audioState_.poll();
  const QString trouble =
      audioState_.state() == VBVIS_STATE_PLAYING ? QString() : QString::fromStdString(audioState_.text());
  audioText_->setText(trouble);
  audioText_->setToolTip(trouble);
  if (sources_->showLevel() >= kQuietLevel) lastSoundMs_ = nowMs;
  gain_->refresh();
  beats_->refresh();
  dmxText_->setText(QString::fromStdString(path_.output().status()));
  showLightStatus(explainLights(lightFacts(nowMs)));
  reopen_->setEnabled(!mainWindowOpen());
}

void HostWindow::closeEvent(QCloseEvent* event) {
  upkeep_.stop();
  if (onClosing) onClosing();
  if (tk::Form* window = session_.mainWindow(); window && window->loaded())
    tk::app().runEvent([window] { window->unload(tk::UnloadMode::HostClosing); });
  // What the plug-in sent last goes out before the host stops, delay and fade or not.
  path_.finish();
  event->accept();
  if (onClosed) onClosed();
}

}  // namespace vantorhost
