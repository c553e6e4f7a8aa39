#include "vantorhost/desktop/dmx_monitor_widget.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <map>

#include "toolkit/qt/drawing_painter.h"
#include "vantorhost/fixtures/fixture_colour.h"

namespace vantorhost {

namespace {

constexpr int kCellWidth = 34, kCellHeight = 26, kHeader = 22, kMargin = 4;
constexpr int kRows = ChannelBuffer::kUniverseSize / DmxMonitorWidget::kColumns;

const QColor kBackground(28, 28, 30), kCell(46, 46, 50), kCellLit(88, 62, 20), kBar(40, 130, 200);
const QColor kNumber(150, 150, 155), kValue(235, 235, 235), kHighlight(255, 170, 40);

const QColor kFixtureName(72, 72, 78);

// A fixture cell's attribute as its value line has room for.
QString shortName(const ChannelRole& role) {
  static const std::map<Attribute, const char*> kShort{
      {Attribute::Red, "R"},     {Attribute::Green, "G"},   {Attribute::Blue, "B"},    {Attribute::White, "W"},
      {Attribute::Amber, "A"},   {Attribute::UV, "UV"},     {Attribute::Cyan, "C"},    {Attribute::Magenta, "M"},
      {Attribute::Yellow, "Y"},  {Attribute::Lime, "L"},    {Attribute::Indigo, "I"},  {Attribute::Dimmer, "D"},
      {Attribute::Shutter, "S"}, {Attribute::Pan, "P"},     {Attribute::Tilt, "T"},    {Attribute::Colour, "C"},
      {Attribute::Gobo, "Go"},   {Attribute::Speed, "Sp"},  {Attribute::Beam, "Bm"},   {Attribute::Prism, "Pr"},
      {Attribute::Effect, "Fx"}, {Attribute::Maintenance, "Mt"}, {Attribute::Other, ""}};
  const QString name = kShort.at(role.attribute);
  return role.fine ? name.toLower() : name;
}

// An intensity's bar shows its colour; the others the monitor's blue.
QColor barColour(const ChannelRole& role) {
  switch (role.attribute) {
    case Attribute::Red: return QColor(230, 50, 50);
    case Attribute::Green: return QColor(40, 200, 70);
    case Attribute::Blue: return QColor(60, 110, 255);
    case Attribute::White:
    case Attribute::Dimmer: return QColor(225, 225, 225);
    case Attribute::Amber: return QColor(255, 180, 0);
    default: return role.intensity() ? QColor(200, 120, 255) : kBar;
  }
}

// The cells' small type.
QFont cellFont(QFont font) {
  font.setPointSizeF(7);
  return font;
}

}  // namespace

DmxMonitorWidget::DmxMonitorWidget(const ChannelBuffer& channels, QWidget* parent)
    : QWidget(parent), channels_(channels) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(sizeHint());
  lineHeight_ = QFontMetrics(cellFont(font())).height();
}

QSize DmxMonitorWidget::sizeHint() const {
  return {2 * kMargin + kColumns * kCellWidth, 2 * (kHeader + kRows * kCellHeight) + kMargin};
}

int DmxMonitorWidget::universeTop(int universe) const { return universe * (kHeader + kRows * kCellHeight) + kHeader; }

QRect DmxMonitorWidget::cellGrid(int universe) const {
  return {kMargin, universeTop(universe), kColumns * kCellWidth, kRows * kCellHeight};
}

QRect DmxMonitorWidget::cellRect(int channel) const {
  const int index = channel - 1;
  const int universe = index / ChannelBuffer::kUniverseSize;
  const int inUniverse = index % ChannelBuffer::kUniverseSize;
  return {kMargin + (inUniverse % kColumns) * kCellWidth, universeTop(universe) + (inUniverse / kColumns) * kCellHeight,
          kCellWidth, kCellHeight};
}

int DmxMonitorWidget::channelAt(QPoint point) const {
  const int column = (point.x() - kMargin) / kCellWidth;
  if (point.x() < kMargin || column >= kColumns) return 0;
  for (int universe = 0; universe < 2; ++universe) {
    const int y = point.y() - universeTop(universe);
    if (y >= 0 && y < kRows * kCellHeight)
      return universe * ChannelBuffer::kUniverseSize + (y / kCellHeight) * kColumns + column + 1;
  }
  return 0;
}

void DmxMonitorWidget::setPatch(const FixturePatch* patch) {
  patch_ = patch;
  update();
}

void DmxMonitorWidget::addFixtureCells(QRegion& region, int channel) const {
  const PatchedChannel& c = patch_->channel(channel);
  const PatchedFixture& f = patch_->fixtures()[static_cast<std::size_t>(c.fixture)];
  for (int other = f.placement.address; other <= f.lastChannel(); ++other) region += cellRect(other);
}

std::int64_t DmxMonitorWidget::refresh(std::int64_t nowMs) {
  std::int64_t nextExpiry = -1;
  // Gathered first and handed to Qt once, cells that moved side by side in
  // a row as one strip: each rectangle of the region costs the paint a clip
  // of its own.
  QRegion moved;
  int runStart = 0;  // the first channel of the strip being gathered, 0: none
  for (int channel = 1; channel <= ChannelBuffer::kChannels; ++channel) {
    const std::int64_t changed = channels_.lastChangeMs(channel);
    const Cell now{channels_.get(channel), changed >= 0 && nowMs - changed < kHighlightMs};
    if (now.highlighted && (nextExpiry < 0 || changed + kHighlightMs < nextExpiry)) nextExpiry = changed + kHighlightMs;
    Cell& shown = shown_[static_cast<std::size_t>(channel - 1)];
    const bool moves = now.highlighted != shown.highlighted || now.value != shown.value;
    shown = now;
    if (moves && patch_ && patch_->channel(channel).defined) addFixtureCells(moved, channel);
    if (moves && runStart == 0) runStart = channel;
    const bool rowEnds = channel % kColumns == 0;
    if (runStart != 0 && (!moves || rowEnds)) {
      const int last = moves ? channel : channel - 1;
      moved += cellRect(runStart).united(cellRect(last));
      runStart = 0;
    }
  }
  if (!moved.isEmpty()) update(moved);
  return nextExpiry;
}

QRect DmxMonitorWidget::numberLine(int channel) const {
  const QRect box = numberBox(channel);
  return {box.topLeft(), QSize(box.width(), lineHeight_)};
}

QRect DmxMonitorWidget::valueArea(int channel) const {
  const QRect r = inner(channel);
  const int top = r.top() + 1 + lineHeight_;
  return QRect(QPoint(r.left() + 5, top), QPoint(r.right() - 1, r.bottom() - 1));
}

bool DmxMonitorWidget::valueBelowNumber() const {
  return valueBox(1).bottom() - lineHeight_ + 1 >= valueArea(1).top();
}

void DmxMonitorWidget::paintFixtureCell(QPainter& p, int channel, const PatchedChannel& patched) {
  const PatchedFixture& f = patch_->fixtures()[static_cast<std::size_t>(patched.fixture)];
  const Cell& cell = shown_[static_cast<std::size_t>(channel - 1)];
  const QRect r = inner(channel);
  p.fillRect(r, cell.highlighted ? kHighlight : kCell);
  if (cell.highlighted) p.fillRect(r.adjusted(1, 1, -1, -1), kCellLit);
  // The name line: the fixture's colour across its cells, its name from the
  // first of its cells in this row on, cut at the last.
  std::array<std::uint8_t, ChannelBuffer::kChannels> values{};
  for (int c = f.placement.address; c <= f.lastChannel(); ++c)
    values[static_cast<std::size_t>(c - 1)] = shown_[static_cast<std::size_t>(c - 1)].value;
  const std::optional<Rgb> rgb = fixtureColour(f, values.data());
  const QColor swatch = rgb ? QColor((*rgb)[0], (*rgb)[1], (*rgb)[2]) : kFixtureName;
  const QRect nameLine(r.left(), r.top(), r.width(), lineHeight_ + 1);
  p.fillRect(nameLine, swatch);
  const int rowStart = std::max(f.placement.address, channel - (channel - 1) % kColumns);
  const int rowEnd = std::min(f.lastChannel(), channel - (channel - 1) % kColumns + kColumns - 1);
  const QRect nameBox = inner(rowStart).united(inner(rowEnd)).adjusted(2, 0, -2, 0);
  p.save();
  p.setClipRect(nameLine);
  p.setPen(qGray(swatch.rgb()) > 140 ? Qt::black : Qt::white);
  p.drawText(QRect(nameBox.left(), nameLine.top(), nameBox.width(), nameLine.height()), Qt::AlignLeft | Qt::AlignVCenter,
             QFontMetrics(p.font()).elidedText(QString::fromStdString(f.placement.name), Qt::ElideRight, nameBox.width()));
  p.restore();
  const int barRoom = r.height() - nameLine.height() - 1;
  const int barHeight = cell.value * barRoom / 255;
  if (barHeight > 0) p.fillRect(QRect(r.left() + 1, r.bottom() - barHeight, 4, barHeight), barColour(patched.role));
  p.setPen(kNumber);
  p.drawText(valueBox(channel).adjusted(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignBottom, shortName(patched.role));
  p.setPen(kValue);
  p.drawText(valueBox(channel), Qt::AlignRight | Qt::AlignBottom, QString::number(cell.value));
}

void DmxMonitorWidget::paintCell(QPainter& p, int channel) {
  const QRect whole = cellRect(channel);
  if (patch_)
    if (const PatchedChannel& patched = patch_->channel(channel); patched.defined) {
      p.fillRect(whole, kBackground);
      paintFixtureCell(p, channel, patched);
      return;
    }
  const Cell& cell = shown_[static_cast<std::size_t>(channel - 1)];
  // A channel that moves is lit, so a lit cell is two images: its face
  // with the bar and the value, and its number; a cell that goes dark lays
  // its texts out, once.
  if (cell.highlighted && valueBelowNumber()) {
    p.drawImage(whole.topLeft(), litCellImage(cell.value));
    const QRect number = numberLine(channel);
    p.drawImage(number.topLeft(), litTextImage(litNumberImages_[static_cast<std::size_t>(channel - 1)],
                                               QString::number(channel), kNumber, numberBox(channel),
                                               number, Qt::AlignLeft | Qt::AlignTop));
    return;
  }
  p.fillRect(whole, kBackground);
  paintFace(p, channel, cell);
  p.setPen(kNumber);
  p.drawText(numberBox(channel), Qt::AlignLeft | Qt::AlignTop, QString::number(channel));
  p.setPen(kValue);
  p.drawText(valueBox(channel), Qt::AlignRight | Qt::AlignBottom, QString::number(cell.value));
}

void DmxMonitorWidget::paintFace(QPainter& p, int channel, const Cell& cell) const {
  const QRect r = inner(channel);
  // A lit cell: its one-pixel border in the highlight's colour around the
  // lit face, as two fills.
  p.fillRect(r, cell.highlighted ? kHighlight : kCell);
  if (cell.highlighted) p.fillRect(r.adjusted(1, 1, -1, -1), kCellLit);
  const int barHeight = cell.value * (r.height() - 2) / 255;
  if (barHeight > 0) p.fillRect(QRect(r.left() + 1, r.bottom() - barHeight, 4, barHeight), kBar);
}

const QImage& DmxMonitorWidget::litCellImage(std::uint8_t value) {
  QImage& image = litCellImages_[value];
  if (!image.isNull()) return image;
  // Laid out as channel 1's cell, moved to the image's origin: every cell
  // lies the same way in its rectangle.
  const QPoint origin = cellRect(1).topLeft();
  QImage drawn(cellRect(1).size(), QImage::Format_RGB32);
  drawn.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
  drawn.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
  drawn.fill(kBackground);
  {
    QPainter p(&drawn);
    p.translate(-origin);
    paintFace(p, 1, Cell{value, true});
    p.setFont(cellFont(font()));
    p.setPen(kValue);
    p.setClipRect(valueArea(1));
    p.drawText(valueBox(1), Qt::AlignRight | Qt::AlignBottom, QString::number(value));
  }
  // A copy: a painted image keeps its paint engine, several times its size.
  image = drawn.copy();
  return image;
}

const QImage& DmxMonitorWidget::litTextImage(QImage& image, const QString& text, const QColor& color,
                                             const QRect& box, const QRect& area, Qt::Alignment align) {
  if (image.size() == area.size()) return image;
  QImage drawn(area.size(), QImage::Format_RGB32);
  drawn.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
  drawn.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
  drawn.fill(kCellLit);
  {
    QPainter p(&drawn);
    p.setFont(cellFont(font()));
    p.setPen(color);
    p.drawText(box.translated(-area.topLeft()), align, text);
  }
  // A copy: a painted image keeps its paint engine, several times its size.
  image = drawn.copy();
  return image;
}

void DmxMonitorWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QFont valueFont = cellFont(font());
  // Rectangle by rectangle: the background, the headers and the cells under
  // each, clipped to it.
  p.setFont(valueFont);
  tk::qt::paintEachRect(p, event->region(), [&](const QRect& rect) {
    // Each cell paints its whole rectangle, so the background goes only
    // where no cell lies: a strip of moved cells fills nothing twice.
    if (!cellGrid(0).contains(rect) && !cellGrid(1).contains(rect))
      for (const QRect& part : QRegion(rect).subtracted(cellGrid(0)).subtracted(cellGrid(1))) p.fillRect(part, kBackground);
    for (int universe = 0; universe < 2; ++universe) {
      const QRect header(kMargin, universeTop(universe) - kHeader, kColumns * kCellWidth, kHeader);
      if (rect.intersects(header)) paintHeader(p, universe, header);
    }
    const int firstColumn = std::max(0, (rect.left() - kMargin) / kCellWidth);
    const int lastColumn = std::min(kColumns - 1, (rect.right() - kMargin) / kCellWidth);
    for (int universe = 0; universe < 2; ++universe) {
      const int top = universeTop(universe);
      if (rect.bottom() < top || rect.top() >= top + kRows * kCellHeight) continue;
      const int firstRow = std::max(0, (rect.top() - top) / kCellHeight);
      const int lastRow = std::min(kRows - 1, (rect.bottom() - top) / kCellHeight);
      for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
          paintCell(p, universe * ChannelBuffer::kUniverseSize + row * kColumns + column + 1);
    }
  });
}

void DmxMonitorWidget::paintHeader(QPainter& p, int universe, const QRect& header) {
  const QFont cells = p.font();
  p.setFont(font());
  p.setPen(kValue);
  const int first = universe * ChannelBuffer::kUniverseSize + 1;
  p.drawText(header, Qt::AlignLeft | Qt::AlignVCenter,
             QString("Universe %1: channels %2 to %3 (DMX 1 to 512)")
                 .arg(universe + 1)
                 .arg(first)
                 .arg(first + ChannelBuffer::kUniverseSize - 1));
  p.setFont(cells);
}

bool DmxMonitorWidget::event(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    lineHeight_ = QFontMetrics(cellFont(font())).height();
    for (QImage& image : litCellImages_) image = QImage();
    for (QImage& image : litNumberImages_) image = QImage();
  }
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    if (const int channel = channelAt(help->pos())) {
      const int universe = (channel - 1) / ChannelBuffer::kUniverseSize + 1;
      const int dmx = (channel - 1) % ChannelBuffer::kUniverseSize + 1;
      QString fixture;
      if (patch_)
        if (const PatchedChannel& c = patch_->channel(channel); c.patched()) {
          const PatchedFixture& f = patch_->fixtures()[static_cast<std::size_t>(c.fixture)];
          fixture = QString(", %1 \"%2\"").arg(QString::fromStdString(f.placement.name),
                                                QString::fromStdString(f.channelName(c.offset)));
          if (c.defined) fixture += QString(" (%1)").arg(QString::fromStdString(attributeName(c.role)));
        }
      QToolTip::showText(help->globalPos(), QString("Channel %1 (universe %2, DMX %3%4): %5")
                                                .arg(channel)
                                                .arg(universe)
                                                .arg(dmx)
                                                .arg(fixture)
                                                .arg(channels_.get(channel)));
    } else {
      QToolTip::hideText();
    }
    return true;
  }
  return QWidget::event(event);
}

}  // namespace vantorhost
