#include "vantorhost/desktop/patch_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>

#include "toolkit/application.h"
#include "vantorhost/show/fixture_drive.h"

namespace vantorhost {

namespace {

// The lists "drive" may fill besides the bars: id and name.
constexpr std::pair<int, const char*> kFixedLists[] = {
    {2, "VU left"}, {3, "VU right"}, {4, "Beat: VU"}, {5, "Beat: Analyzer"}, {6, "Beat: Balken"}};
constexpr Attribute kDriven[] = {Attribute::Red, Attribute::Green, Attribute::Blue, Attribute::White, Attribute::Dimmer};
constexpr int kBarSlots = 288;
constexpr int kSlotsPerId = 1000;  // a source's id and slot in one number

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

PatchWindow::PatchWindow(HostSession& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      search_(new QLineEdit),
      results_(new QListWidget),
      mode_(new QComboBox),
      name_(new QLineEdit),
      address_(new QSpinBox),
      count_(new QSpinBox),
      add_(new QPushButton("&Add")),
      fixtures_(new QTableWidget(0, 5)),
      remove_(new QPushButton("&Remove")),
      attribute_(new QComboBox),
      source_(new QComboBox),
      drive_(new QPushButton("&Drive")),
      message_(new QLabel) {
  setWindowTitle("Sonvero: patch");
  search_->setPlaceholderText("Search manufacturer and model");
  search_->setClearButtonEnabled(true);
  address_->setRange(1, FixturePatch::kChannels);
  count_->setRange(1, kMaxAtOnce);
  message_->setWordWrap(true);

  auto* library = new QGroupBox("Fixture library");
  auto* form = new QGridLayout(library);
  form->addWidget(search_, 0, 0, 1, 4);
  form->addWidget(results_, 1, 0, 1, 4);
  form->addWidget(new QLabel("Mode"), 2, 0);
  form->addWidget(mode_, 2, 1, 1, 3);
  form->addWidget(new QLabel("Name"), 3, 0);
  form->addWidget(name_, 3, 1, 1, 3);
  form->addWidget(new QLabel("Address"), 4, 0);
  form->addWidget(address_, 4, 1);
  form->addWidget(new QLabel("How many"), 4, 2);
  form->addWidget(count_, 4, 3);
  form->addWidget(add_, 5, 3);

  auto* patch = new QGroupBox("Patch");
  auto* list = new QVBoxLayout(patch);
  fixtures_->setHorizontalHeaderLabels({"Name", "Fixture", "Mode", "Channels", "State"});
  fixtures_->setSelectionBehavior(QAbstractItemView::SelectRows);
  fixtures_->setSelectionMode(QAbstractItemView::SingleSelection);
  fixtures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  fixtures_->verticalHeader()->hide();
  fixtures_->horizontalHeader()->setStretchLastSection(true);
  list->addWidget(fixtures_);
  auto* drive = new QHBoxLayout;
  for (const Attribute a : kDriven) attribute_->addItem(text(attributeName(ChannelRole{a, false, 0})), static_cast<int>(a));
  drive->addWidget(remove_);
  drive->addStretch();
  drive->addWidget(new QLabel("Drive its"));
  drive->addWidget(attribute_);
  drive->addWidget(new QLabel("from"));
  drive->addWidget(source_);
  drive->addWidget(drive_);
  list->addLayout(drive);

  auto* columns = new QHBoxLayout;
  columns->addWidget(library, 2);
  columns->addWidget(patch, 3);
  auto* whole = new QVBoxLayout(this);
  whole->addLayout(columns);
  whole->addWidget(message_);
  resize(1000, 560);

  connect(search_, &QLineEdit::textChanged, this, [this] { searchLibrary(); });
  connect(results_, &QListWidget::currentRowChanged, this, [this] { chooseDefinition(); });
  connect(mode_, &QComboBox::currentIndexChanged, this, [this] { offerAddress(); });
  connect(count_, &QSpinBox::valueChanged, this, [this] { offerAddress(); });
  connect(add_, &QPushButton::clicked, this, [this] { addFixtures(); });
  connect(remove_, &QPushButton::clicked, this, [this] { removeFixture(); });
  connect(drive_, &QPushButton::clicked, this, [this] { driveFixture(); });
  connect(fixtures_, &QTableWidget::itemSelectionChanged, this, [this] { showSources(); });
  watch_ = session_.watchHostDesign([this](const HostDesign&) {
    showPatch();
    offerAddress();
  });
  searchLibrary();
  showPatch();
  showSources();
}

PatchWindow::~PatchWindow() { session_.unwatchHostDesign(watch_); }

void PatchWindow::searchLibrary() {
  const QSignalBlocker quiet(results_);
  results_->clear();
  for (const LibraryEntry* entry : session_.fixtureLibrary().search(search_->text().toStdString(), kMaxResults)) {
    auto* item = new QListWidgetItem(text(entry->manufacturer + " / " + entry->model));
    item->setData(Qt::UserRole, text(entry->manufacturer));
    item->setData(Qt::UserRole + 1, text(entry->model));
    results_->addItem(item);
  }
  results_->setCurrentRow(results_->count() > 0 ? 0 : -1);
  chooseDefinition();
}

void PatchWindow::chooseDefinition() {
  const QListWidgetItem* item = results_->currentItem();
  chosen_ = item ? session_.fixtureLibrary().find(item->data(Qt::UserRole).toString().toStdString(),
                                                  item->data(Qt::UserRole + 1).toString().toStdString())
                 : nullptr;
  const QSignalBlocker quiet(mode_);
  mode_->clear();
  if (item && !chosen_) message_->setText("This definition cannot be read; the log says why.");
  if (chosen_) {
    for (const FixtureMode& m : chosen_->modes)
      mode_->addItem(QString("%1 (%2 channels)").arg(text(m.name)).arg(m.channels.size()), text(m.name));
    name_->setText(text(chosen_->model));
  }
  add_->setEnabled(chosen_ != nullptr);
  offerAddress();
}

int PatchWindow::modeChannels() const {
  if (!chosen_ || mode_->currentIndex() < 0) return 0;
  return static_cast<int>(chosen_->modes[static_cast<std::size_t>(mode_->currentIndex())].channels.size());
}

void PatchWindow::offerAddress() {
  const int channels = modeChannels();
  if (channels == 0) return;
  if (const std::optional<int> free = session_.patch().nextFreeAddress(channels * count_->value()))
    address_->setValue(*free);
  else if (const std::optional<int> one = session_.patch().nextFreeAddress(channels))
    address_->setValue(*one);
}

void PatchWindow::addFixtures() {
  const int channels = modeChannels();
  if (channels == 0) return;
  const std::string base = name_->text().trimmed().toStdString();
  const std::string modeName = mode_->currentData().toString().toStdString();
  int address = address_->value(), number = 0, added = 0;
  std::string problem;
  for (int i = 0; i < count_->value(); ++i) {
    std::string name = base;
    // Several at once, or a name taken: "NAME 1", "NAME 2", ...
    while (count_->value() > 1 || session_.patch().fixture(name)) {
      name = base + " " + std::to_string(++number);
      if (!session_.patch().fixture(name)) break;
    }
    const std::optional<int> free = session_.patch().nextFreeAddress(channels, address);
    std::optional<std::string> refused;
    tk::app().runEvent([&] {
      refused = session_.placeFixture({name, chosen_->manufacturer, chosen_->model, modeName, free.value_or(address)});
    });
    if (refused) {
      problem = *refused;
      break;
    }
    ++added;
    address = free.value_or(address) + channels;
  }
  message_->setText(problem.empty() ? QString("Added %1 fixture(s).").arg(added)
                                    : QString("Added %1; %2").arg(added).arg(text(problem)));
  offerAddress();
}

void PatchWindow::removeFixture() {
  const int row = fixtures_->currentRow();
  if (row < 0 || row >= static_cast<int>(session_.patch().fixtures().size())) return;
  const std::string name = session_.patch().fixtures()[static_cast<std::size_t>(row)].placement.name;
  tk::app().runEvent([&] { session_.removeFixture(name); });
  message_->setText(text("Removed " + name + "."));
}

void PatchWindow::showPatch() {
  const int row = fixtures_->currentRow();
  const std::vector<PatchedFixture>& all = session_.patch().fixtures();
  fixtures_->setRowCount(static_cast<int>(all.size()));
  for (std::size_t i = 0; i < all.size(); ++i) {
    const PatchedFixture& f = all[i];
    const FixturePlacement& p = f.placement;
    const QString channels = f.channelCount() == 1 ? QString::number(p.address)
                                                   : QString("%1\u2013%2").arg(p.address).arg(f.lastChannel());
    const QString cells[] = {text(p.name), text(p.manufacturer + " / " + p.model), text(p.mode), channels,
                             f.problem.empty() ? QString("ok") : text(f.problem)};
    for (int column = 0; column < 5; ++column)
      fixtures_->setItem(static_cast<int>(i), column, new QTableWidgetItem(cells[column]));
  }
  fixtures_->resizeColumnsToContents();
  if (row >= 0 && row < fixtures_->rowCount()) fixtures_->selectRow(row);
  remove_->setEnabled(!all.empty());
}

void PatchWindow::showSources() {
  const QVariant chosen = source_->currentData();
  source_->clear();
  if (IPluginDesign* design = session_.design())
    for (int slot = 0; slot < kBarSlots; ++slot)
      if (design->readBar(slot).number == slot + 1)
        source_->addItem(QString("Bar %1").arg(slot + 1), kSlotsPerId + slot);
  for (const auto& [id, name] : kFixedLists) source_->addItem(name, id * kSlotsPerId);
  if (const int kept = source_->findData(chosen); kept >= 0) source_->setCurrentIndex(kept);
  drive_->setEnabled(fixtures_->currentRow() >= 0 && session_.design());
}

void PatchWindow::driveFixture() {
  const int row = fixtures_->currentRow();
  IPluginDesign* design = session_.design();
  if (row < 0 || row >= static_cast<int>(session_.patch().fixtures().size()) || !design) return;
  const PatchedFixture& fixture = session_.patch().fixtures()[static_cast<std::size_t>(row)];
  const int source = source_->currentData().toInt();
  const auto attribute = static_cast<Attribute>(attribute_->currentData().toInt());
  DriveResult result;
  tk::app().runEvent([&] {
    result = vantorhost::driveFixture(*design, fixture, attribute, {source / kSlotsPerId, source % kSlotsPerId});
  });
  QStringList added;
  for (const std::int16_t c : result.added) added << QString::number(c);
  message_->setText(result.added.empty() ? text(result.problem)
                                         : QString("%1 now drives channel(s) %2.%3")
                                               .arg(source_->currentText(), added.join(", "),
                                                    result.problem.empty() ? "" : " " + text(result.problem)));
}

}  // namespace vantorhost
