#include "vantorhost/desktop/source_chooser.h"

#include <QFileDialog>
#include <algorithm>

#include "bridge/vbvis.h"
#include "files/printable.h"
#include "vantorhost/base/log.h"
#include "vantorhost/desktop/panel_row.h"
#include "vantorhost/script/source_refused.h"

namespace vantorhost {

namespace {

constexpr int kFullScale = 16000;

void addServerSource(const char* name, const char* description, void* box) {
  static_cast<QComboBox*>(box)->addItem(QString::fromUtf8(description), QString("pulse:") + QString::fromUtf8(name));
}

}  // namespace

SourceChooser::SourceChooser(QWidget* parent) : QWidget(parent), box_(new QComboBox), level_(new tk::qt::LevelMeterWidget) {
  box_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  box_->setMaximumWidth(320);
  box_->setToolTip("Where the music comes from");
  level_->setFixedSize(90, 12);
  level_->setToolTip("Input level");
  layOutPanelRow(*this, {}, {box_, level_});
  askForFile = [this] {
    return QFileDialog::getOpenFileName(this, "Play an audio file", {},
                                        "Audio files (*.wav *.flac *.ogg *.oga *.aiff *.aif);;All files (*)")
        .toStdString();
  };
  fill();
  QObject::connect(box_, &QComboBox::activated, this, [this](int index) { activated(index); });
}

void SourceChooser::fill() {
  box_->clear();
  vbvis_list_sources(&addServerSource, box_);
  box_->addItem("Demo track (120 BPM)", "demo");
  box_->addItem("Silence", "silence");
  box_->addItem(kFileEntry, QString());
  showCurrent();
}

// The current source selected; one the list lacks (the default output's
// monitor, a file) is added above "File…".
void SourceChooser::showCurrent() {
  const QString uri = QString::fromUtf8(vbvis_source_uri());
  int index = box_->findData(uri);
  if (index < 0) {
    index = box_->count() - 1;
    box_->insertItem(index, uri == "pulse" ? QString("What this computer plays (pulse)") : uri, uri);
  }
  box_->setCurrentIndex(index);
}

bool SourceChooser::choose(const std::string& uri) {
  const bool taken = vbvis_open(uri.c_str()) == 0;
  hostLog(taken ? "audio source: " + files::printable(uri, files::kPathLimit) : sourceRefused(uri));
  showCurrent();
  return taken;
}

void SourceChooser::activated(int index) {
  std::string uri = box_->itemData(index).toString().toStdString();
  if (uri.empty()) {
    const std::string file = askForFile ? askForFile() : std::string();
    if (file.empty()) return showCurrent();
    uri = "file:" + file;
  }
  if (uri == vbvis_source_uri()) return;
  if (choose(uri) && onChosen) onChosen(uri);
}

int SourceChooser::showLevel() {
  const int level = vbvis_peak_level();
  level_->setLevel(static_cast<std::int16_t>(std::clamp(level, 0, kFullScale) * 100 / kFullScale));
  return level;
}

}  // namespace vantorhost
