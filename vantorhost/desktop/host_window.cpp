#include "vantorhost/desktop/host_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <initializer_list>

#include "bridge/vbvis.h"
#include "toolkit/application.h"
#include "vantorhost/desktop/readout_label.h"

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

// Texts that come and go never widen the window beyond the screen: what
// does not fit is cut, and the whole text is the tip.
QLabel* changingText() {
  auto* label = new QLabel;
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  return label;
}

}  // namespace

HostWindow::HostWindow(HostSession& session, OutputPath& path, HostSettingsFile* kept, std::optional<Link> link,
                       QWidget* parent)
    : QWidget(parent), session_(session), path_(path), kept_(kept), lastSoundMs_(session.loop().nowMs()) {
  setWindowTitle("Sonvero host");
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(statusRow(link));
  layout->addLayout(inputRow());
  layout->addLayout(outputRow());
  layout->addLayout(beatsRow(link));
  QScrollArea* monitor = monitorArea();
  layout->addWidget(monitor, 1);
  resize(monitor->minimumWidth() + 2 * layout->contentsMargins().left(), 640);
  followOutput();
  QObject::connect(&upkeep_, &QTimer::timeout, [this] {
    upkeep(session_.loop().nowMs() - statusShownMs_ >= kUpkeepMs + kStatusLateMs);
  });
  upkeep_.start(kUpkeepMs);
  refreshStatus(session_.loop().nowMs());
}

QLayout* HostWindow::statusRow(std::optional<Link> link) {
  statusLine_ = changingText();
  dmxText_ = new QLabel;
  if (link) link_ = new LinkPanel(link->session, link->beats, kept_);
  auto* row = new QHBoxLayout;
  row->addWidget(statusLine_, 1);
  if (link_) {
    row->addSpacing(12);
    row->addWidget(link_);
  }
  row->addSpacing(12);
  row->addWidget(dmxText_);
  return row;
}

QLayout* HostWindow::inputRow() {
  sources_ = new SourceChooser;
  audioText_ = changingText();
  gain_ = new GainPanel(kept_);
  beatLamp_ = new BeatIndicator;
  // As wide as a count of a million beats with its rate, whatever the
  // count: a growing number never widens the window.
  beatText_ = readoutLabel("000000 beats, ~000.0 a minute");
  reopen_ = new QPushButton("Open Sonvero");
  sources_->onChosen = [this](const std::string& uri) {
    lastSoundMs_ = session_.loop().nowMs();
    if (!kept_) return;
    kept_->settings().source = uri;
    kept_->save();
  };
  session_.helper().setOnBeat([this] {
    beatLamp_->flash();
    showBeatCount(session_.loop().nowMs());
  });
  QObject::connect(reopen_, &QPushButton::clicked, [this] { session_.openMainWindow(); });

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Audio:"));
  row->addWidget(sources_);
  row->addWidget(audioText_);
  row->addSpacing(16);
  row->addWidget(gain_);
  row->addStretch(1);
  row->addWidget(new QLabel("Plug-in beat counter:"));
  row->addWidget(beatLamp_);
  row->addWidget(beatText_);
  row->addSpacing(16);
  row->addWidget(reopen_);
  return row;
}

QLayout* HostWindow::outputRow() {
  delayBox_ = new StepSpinBox(kMaxDelayMs, kDelayStepMs, " ms");
  delayBox_->setToolTip("Holds the light back to line it up with speakers that lag behind the computer's sound");
  delayBox_->setValue(static_cast<int>(path_.delayMs()));
  QObject::connect(delayBox_, &QSpinBox::valueChanged, [this](int ms) {
    path_.setDelay(ms);
    if (!kept_) return;
    kept_->settings().delayMs = ms;
    kept_->save();
  });
  master_ = new MasterPanel(path_, kept_);
  fade_ = new FadePanel(session_);

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Output delay:"));
  row->addWidget(delayBox_);
  // The output's own panels; more join this row the same way.
  for (QWidget* panel : std::initializer_list<QWidget*>{master_, fade_}) {
    row->addSpacing(16);
    row->addWidget(panel);
  }
  row->addStretch(1);
  return row;
}

QLayout* HostWindow::beatsRow(std::optional<Link> link) {
  beats_ = new BeatPanel(session_, TrackerClock(), BeatByHand(), link ? &link->beats : nullptr);
  auto* row = new QHBoxLayout;
  row->addWidget(beats_);
  row->addStretch(1);
  return row;
}

QScrollArea* HostWindow::monitorArea() {
  monitor_ = new DmxMonitorWidget(path_.sent());
  // The monitor names the patch's fixtures; it shows the patch anew when it changes.
  monitor_->setPatch(&session_.patch());
  patchWatch_ = session_.watchHostDesign([this](const HostDesign&) { monitor_->setPatch(&session_.patch()); });
  auto* scroll = new QScrollArea;
  scroll->setWidget(monitor_);
  scroll->setWidgetResizable(false);
  // Wide enough for all 32 columns beside the vertical scroll bar; as low
  // as a small screen needs, showing fewer rows.
  scroll->setMinimumWidth(monitor_->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width() +
                          2 * scroll->frameWidth());
  scroll->setMinimumHeight(96);
  return scroll;
}

void HostWindow::followOutput() {
  auto clock = [this] { return session_.loop().nowMs(); };
  monitorPacer_ = new RefreshPacer(*monitor_, kMonitorGapMs, clock, [this, clock] {
    const std::int64_t now = clock();
    const std::int64_t nextExpiry = monitor_->refresh(now);
    if (nextExpiry >= 0) monitorPacer_->requestAt(nextExpiry + kBetweenTicksLagMs);
    if (now - statusShownMs_ >= kUpkeepMs) refreshStatus(now);
    beatLamp_->darkenIfDue();
    beats_->lamp().darkenIfDue();
  });
  monitorPacer_->setParent(this);
  path_.setWatcher([this](const ChannelBuffer&, std::int64_t nowMs) {
    monitorPacer_->requestAt(betweenTicks_ ? nowMs + kBetweenTicksLagMs : nowMs);
  });
  heldBack_.setSingleShot(true);
  heldBack_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&heldBack_, &QTimer::timeout, [this] { handOnBetweenTicks(); });
  path_.setWake([this, clock](std::int64_t dueMs) {
    const int wait = static_cast<int>(std::max<std::int64_t>(0, dueMs - clock()));
    if (!heldBack_.isActive() || heldBack_.remainingTime() > wait) heldBack_.start(wait);
  });
}

void HostWindow::handOnBetweenTicks() {
  betweenTicks_ = true;
  path_.handOn();
  betweenTicks_ = false;
}

HostWindow::~HostWindow() {
  session_.unwatchHostDesign(patchWatch_);
  path_.setWatcher(nullptr);
  path_.setWake(nullptr);
  session_.helper().setOnBeat(nullptr);
}

bool HostWindow::mainWindowOpen() const {
  const tk::Form* window = session_.mainWindow();
  return window && window->loaded();
}

void HostWindow::upkeep(bool status) {
  if (stopRequested && stopRequested()) {
    stopping_ = true;
    close();
    return;
  }
  handOnBetweenTicks();
  if (status) refreshStatus(session_.loop().nowMs());
}

void HostWindow::showBeatCount(std::int64_t nowMs) {
  const PluginBeatCounter& counter = session_.pluginBeatCounter();
  // How many a minute, not a second "BPM" beside the tracker's tempo.
  const Tempo tempo = counter.tempo(nowMs);
  showReadout(*beatText_, tempo.known() ? QString("%1 beats, %2 a minute")
                                              .arg(counter.count())
                                              .arg(QString::fromStdString(tempoText(tempo)))
                                        : QString("%1 beats").arg(counter.count()));
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
  const BeatPattern& beats = session_.hostDesign().beatPattern;
  f.beatsLight = beats.on();
  if (plugin) {
    std::vector<std::int16_t> used = plugin->usedChannels();
    if (f.beatsLight) used.insert(used.end(), beats.channels.begin(), beats.channels.end());
    f.universesInUse = universesOf(used);
  }
  f.silent = nowMs - lastSoundMs_ >= kSilentSeconds * 1000;
  f.quietInputDb = quietInputDb_;
  f.fixedGain = fixedGain_;
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
  statusShownMs_ = nowMs;
  showBeatCount(nowMs);  // the tempo fades without beats
  audioState_.poll();
  const QString trouble =
      audioState_.state() == VBVIS_STATE_PLAYING ? QString() : QString::fromStdString(audioState_.text());
  if (audioText_->text() != trouble) {
    audioText_->setText(trouble);
    audioText_->setToolTip(trouble);
  }
  if (sources_->showLevel() >= kQuietLevel) lastSoundMs_ = nowMs;
  gain_->refresh();
  vbvis_gain_state gain{};
  vbvis_gain(&gain);
  quietInputDb_ = quiet_.follow(nowMs, gain.input_db, gain.output_db);
  fixedGain_ = gain.automatic == 0;
  beats_->refresh();
  if (link_) link_->refresh();
  dmxText_->setText(QString::fromStdString(path_.output().status()));
  showLightStatus(explainLights(lightFacts(nowMs)));
  reopen_->setEnabled(!mainWindowOpen());
}

void HostWindow::closeEvent(QCloseEvent* event) {
  if (!stopping_ && mayClose && !mayClose()) {
    event->ignore();
    return;
  }
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
