#include "vantorhost/desktop/beat_panel.h"

#include <QRegularExpression>
#include <QShortcut>
#include <QSignalBlocker>
#include <algorithm>

#include "vantorhost/base/channel_buffer.h"
#include "vantorhost/base/tempo.h"
#include "vantorhost/desktop/panel_row.h"
#include "vantorhost/desktop/readout_label.h"

namespace vantorhost {

namespace {

constexpr BeatPattern::Mode kModes[] = {BeatPattern::Mode::Off, BeatPattern::Mode::Flash, BeatPattern::Mode::Chase};
constexpr BeatSourceChoice kSources[] = {BeatSourceChoice::Tracker, BeatSourceChoice::Link, BeatSourceChoice::Lead};

template <class T, std::size_t N>
int indexOf(const T (&all)[N], T value) {
  return static_cast<int>(std::find(std::begin(all), std::end(all), value) - all);
}

QString channelsText(const std::vector<std::int16_t>& channels) {
  QStringList words;
  for (const std::int16_t c : channels) words << QString::number(c);
  return words.join(' ');
}

}  // namespace

std::optional<std::vector<std::int16_t>> BeatPanel::channelsFrom(const QString& text) {
  std::vector<std::int16_t> channels;
  for (const QString& word : text.split(QRegularExpression("[\\s,]+"), Qt::SkipEmptyParts)) {
    bool number = false;
    const int channel = word.toInt(&number, 10);
    if (!number || channel < 1 || channel > ChannelBuffer::kChannels || channels.size() == kMaxBeatChannels) return std::nullopt;
    channels.push_back(static_cast<std::int16_t>(channel));
  }
  return channels;
}

BeatPanel::BeatPanel(HostSession& session, TrackerClock clock, BeatByHand hands, BeatSource* beats, QWidget* parent)
    : QWidget(parent),
      session_(session),
      clock_(std::move(clock)),
      lamp_(new BeatIndicator),
      tempo_(readoutLabel("000.0 BPM, locked")),
      mode_(new QComboBox),
      channels_(new QLineEdit),
      flash_(new StepSpinBox(kMaxFlashMs, kFlashStepMs, " ms")),
      hands_(hands),
      beats_(beats),
      source_(new QComboBox) {
  mode_->addItems({"Off", "Flash", "Chase"});
  source_->addItems({"Tracker", "Link", "Lead"});
  source_->setToolTip("What the beats follow: the beat tracker, the Link session's beat, or the Link session that "
                      "the tracker leads");
  mode_->setToolTip("On each beat: nothing, every channel of the list at full, or the next channel of the list");
  channels_->setPlaceholderText("channels");
  channels_->setToolTip("The DMX channels the beats light, e.g. 6 or 1 2 3 4");
  channels_->setMaximumWidth(120);
  // What shows hold: any whole number of ms in range.
  flash_->setMinimum(kMinFlashMs);
  flash_->keepTypedValues();
  flash_->setToolTip("How long each beat's light stays on");
  tempo_->setMinimumWidth(tempo_->fontMetrics().horizontalAdvance("000.0 BPM, searching"));
  tap_ = handButton("Tap", "Tap on the beat (T): four taps set tempo and phase", Qt::Key_T, &BeatPanel::tapped);
  half_ = handButton("Half beat", "Move the beat by half a beat (H)", Qt::Key_H, &BeatPanel::halved);
  earlier_ = handButton(QString("%1 ms").arg(-BeatByHand::kStepMs), "The beat 10 ms earlier ([)", Qt::Key_BracketLeft,
                        &BeatPanel::earlierStep);
  later_ = handButton(QString("+%1 ms").arg(BeatByHand::kStepMs), "The beat 10 ms later (])", Qt::Key_BracketRight,
                      &BeatPanel::laterStep);
  hold_ = new QPushButton("Hold");
  hold_->setCheckable(true);
  hold_->setToolTip("Hold the beat at its tempo and phase whatever the music does; again to let the tracker lead");
  handTips_.emplace_back(hold_, hold_->toolTip());
  QObject::connect(hold_, &QPushButton::toggled, this, [this](bool on) {
    hands_.hold(on);
    readTracker();
  });
  layOutPanelRow(*this, "Beats:", {lamp_, tempo_, tap_, half_, earlier_, later_, hold_, mode_, channels_, flash_, source_});

  showDesign(session_.hostDesign());
  QObject::connect(mode_, &QComboBox::currentIndexChanged, this, [this] { apply(); });
  QObject::connect(source_, &QComboBox::currentIndexChanged, this, [this] { apply(); });
  QObject::connect(channels_, &QLineEdit::editingFinished, this, [this] { apply(); });
  QObject::connect(flash_, &QSpinBox::valueChanged, this, [this] { apply(); });
  watch_ = session_.watchHostDesign([this](const HostDesign& design) { showDesign(design); });

  nextBeat_.setSingleShot(true);
  nextBeat_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&nextBeat_, &QTimer::timeout, this, [this] { readTracker(); });
  refresh();
}

BeatPanel::~BeatPanel() { session_.unwatchHostDesign(watch_); }

void BeatPanel::showDesign(const HostDesign& design) {
  const BeatPattern& pattern = design.beatPattern;
  const QSignalBlocker quietMode(mode_), quietFlash(flash_), quietSource(source_);
  mode_->setCurrentIndex(indexOf(kModes, pattern.mode));
  source_->setCurrentIndex(indexOf(kSources, design.beatSource));
  flash_->setValue(pattern.flashMs);
  channels_->setText(channelsText(pattern.channels));
  channels_->setStyleSheet({});
}

void BeatPanel::apply() {
  const std::optional<std::vector<std::int16_t>> channels = channelsFrom(channels_->text());
  // A list that is not one keeps the design's and says so.
  channels_->setStyleSheet(channels ? QString() : QString("QLineEdit { background: #f6d5a8; }"));
  HostDesign design = session_.hostDesign();
  design.beatPattern.mode = kModes[std::max(0, mode_->currentIndex())];
  design.beatPattern.flashMs = flash_->value();
  design.beatSource = kSources[std::max(0, source_->currentIndex())];
  if (channels) design.beatPattern.channels = *channels;
  if (design != session_.hostDesign()) session_.setHostDesign(design);
}

// A button of the operator's hands, with its key: held down, a key repeats,
// and a tap must not.
QPushButton* BeatPanel::handButton(const QString& text, const QString& tip, const QKeySequence& key,
                                   void (BeatPanel::*act)()) {
  auto* button = new QPushButton(text);
  button->setToolTip(tip);
  button->setFocusPolicy(Qt::NoFocus);
  handTips_.emplace_back(button, tip);
  QObject::connect(button, &QPushButton::clicked, this, [this, act] { (this->*act)(); });
  auto* shortcut = new QShortcut(key, this);
  shortcut->setAutoRepeat(false);
  // The key as the button: nothing while the button is off.
  QObject::connect(shortcut, &QShortcut::activated, this, [this, act, button] {
    if (button->isEnabled()) (this->*act)();
  });
  return button;
}

void BeatPanel::tapped() {
  hands_.tap();
  moved();
}

void BeatPanel::halved() {
  hands_.half();
  moved();
}

void BeatPanel::earlierStep() {
  hands_.nudge(-BeatByHand::kStepMs);
  moved();
}

void BeatPanel::laterStep() {
  hands_.nudge(BeatByHand::kStepMs);
  moved();
}

void BeatPanel::moved() {
  if (beats_) beats_->movedByHand();
  readTracker();
}

void BeatPanel::showReach() {
  const bool reach = !beats_ || beats_->handsReach();
  if (reach == tap_->isEnabled()) return;
  for (const auto& [button, tip] : handTips_) {
    button->setEnabled(reach);
    button->setToolTip(reach ? tip
                             : tip + "\nOff while the beats follow the Link session: its tempo and phase are "
                                     "the session's");
  }
}

void BeatPanel::readTracker() {
  const std::int64_t now = session_.loop().nowMs();
  const TrackerReading reading = clock_.read(now);
  if (reading.beatDue) lamp_->flash();
  const bool held = hands_.held();
  if (hold_->isChecked() != held) {
    const QSignalBlocker quiet(hold_);
    hold_->setChecked(held);
  }
  showReadout(*tempo_, reading.bpm > 0 ? QString::fromStdString(tempoText(Tempo{reading.bpm, true})) +
                                             (held ? " BPM, held" : " BPM, locked")
                                       : QString(held ? "held: no beat" : "searching"));
  if (reading.nextMs >= 0) nextBeat_.start(static_cast<int>(std::max<std::int64_t>(0, reading.nextMs - now)));
}

void BeatPanel::refresh() {
  // While a beat is awaited the timer reads; else the upkeep does.
  if (!nextBeat_.isActive()) readTracker();
  showReach();
}

}  // namespace vantorhost
