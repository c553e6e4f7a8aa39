#include "vantorhost/desktop/beat_panel.h"

#include <QRegularExpression>
#include <QSignalBlocker>
#include <algorithm>

#include "vantorhost/beat/tempo_fit.h"
#include "vantorhost/desktop/panel_row.h"

namespace vantorhost {

namespace {

constexpr BeatLook::Mode kModes[] = {BeatLook::Mode::Off, BeatLook::Mode::Flash, BeatLook::Mode::Chase};

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
    if (!number || channel < 1 || channel > 1024 || channels.size() == kMaxBeatChannels) return std::nullopt;
    channels.push_back(static_cast<std::int16_t>(channel));
  }
  return channels;
}

BeatPanel::BeatPanel(HostSession& session, BeatClock clock, QWidget* parent)
    : QWidget(parent),
      session_(session),
      clock_(std::move(clock)),
      lamp_(new BeatIndicator),
      tempo_(new QLabel),
      mode_(new QComboBox),
      channels_(new QLineEdit),
      flash_(new StepSpinBox(kMaxFlashMs, kFlashStepMs, " ms")) {
  mode_->addItems({"Off", "Flash", "Chase"});
  mode_->setToolTip("On each beat: nothing, every channel of the list at full, or the next channel of the list");
  channels_->setPlaceholderText("channels");
  channels_->setToolTip("The DMX channels the beats light, e.g. 6 or 1 2 3 4");
  channels_->setMaximumWidth(120);
  flash_->setMinimum(kFlashStepMs);
  flash_->setToolTip("How long each beat's light stays on");
  tempo_->setMinimumWidth(tempo_->fontMetrics().horizontalAdvance("000.0 BPM, searching"));
  layOutPanelRow(*this, "Beats:", {lamp_, tempo_, mode_, channels_, flash_});

  show(session_.hostDesign().beats);
  QObject::connect(mode_, &QComboBox::currentIndexChanged, this, [this] { apply(); });
  QObject::connect(channels_, &QLineEdit::editingFinished, this, [this] { apply(); });
  QObject::connect(flash_, &QSpinBox::valueChanged, this, [this] { apply(); });
  watch_ = session_.watchHostDesign([this](const HostDesign& design) { show(design.beats); });

  nextBeat_.setSingleShot(true);
  nextBeat_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&nextBeat_, &QTimer::timeout, this, [this] { lookAtTracker(); });
  refresh();
}

BeatPanel::~BeatPanel() { session_.unwatchHostDesign(watch_); }

void BeatPanel::show(const BeatLook& look) {
  const QSignalBlocker quietMode(mode_), quietFlash(flash_);
  mode_->setCurrentIndex(static_cast<int>(std::find(std::begin(kModes), std::end(kModes), look.mode) - kModes));
  flash_->setValue(look.flashMs);
  channels_->setText(channelsText(look.channels));
  channels_->setStyleSheet({});
}

void BeatPanel::apply() {
  const std::optional<std::vector<std::int16_t>> channels = channelsFrom(channels_->text());
  // A list that is not one keeps the design's and says so.
  channels_->setStyleSheet(channels ? QString() : QString("QLineEdit { background: #f6d5a8; }"));
  HostDesign design = session_.hostDesign();
  design.beats.mode = kModes[std::max(0, mode_->currentIndex())];
  design.beats.flashMs = flash_->value();
  if (channels) design.beats.channels = *channels;
  if (design != session_.hostDesign()) session_.setHostDesign(design);
}

void BeatPanel::lookAtTracker() {
  const std::int64_t now = session_.loop().nowMs();
  const BeatClock::Look look = clock_.look(now);
  if (look.beat) lamp_->flash();
  tempo_->setText(look.bpm > 0 ? QString::fromStdString(tempoText(Tempo{look.bpm, true})) + " BPM, locked"
                               : QString("searching"));
  if (look.nextMs >= 0) nextBeat_.start(static_cast<int>(std::max<std::int64_t>(0, look.nextMs - now)));
}

void BeatPanel::refresh() {
  // While a beat is awaited the timer looks; else the upkeep does.
  if (!nextBeat_.isActive()) lookAtTracker();
}

}  // namespace vantorhost
