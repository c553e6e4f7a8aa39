#include "vantorhost/desktop/dmx_monitor_widget.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

namespace vantorhost {

namespace {

constexpr int kCellWidth = 34, kCellHeight = 26, kHeader = 22, kMargin = 4;
constexpr int kRows = ChannelBuffer::kUniverseSize / DmxMonitorWidget::kColumns;

const QColor kBackground(28, 28, 30), kCell(46, 46, 50), kCellLit(88, 62, 20), kBar(40, 130, 200);
const QColor kNumber(150, 150, 155), kValue(235, 235, 235), kHighlight(255, 170, 40);

}  // namespace

DmxMonitorWidget::DmxMonitorWidget(const ChannelBuffer& channels, QWidget* parent)
    : QWidget(parent), channels_(channels) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(sizeHint());
}

QSize DmxMonitorWidget::sizeHint() const {
  return {2 * kMargin + kColumns * kCellWidth, 2 * (kHeader + kRows * kCellHeight) + kMargin};
}

int DmxMonitorWidget::universeTop(int universe) const { return universe * (kHeader + kRows * kCellHeight) + kHeader; }

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

void DmxMonitorWidget::refresh(std::int64_t nowMs) {
  for (int channel = 1; channel <= ChannelBuffer::kChannels; ++channel) {
    const std::int64_t changed = channels_.lastChangeMs(channel);
    const Cell now{channels_.get(channel), changed >= 0 && nowMs - changed < kHighlightMs};
    Cell& shown = shown_[static_cast<std::size_t>(channel - 1)];
    if (now.value != shown.value || now.highlighted != shown.highlighted) {
      shown = now;
      update(cellRect(channel));
    }
  }
}

void DmxMonitorWidget::paintCell(QPainter& p, int channel) const {
  const Cell& cell = shown_[static_cast<std::size_t>(channel - 1)];
  const QRect r = cellRect(channel).adjusted(1, 1, -1, -1);
  p.fillRect(r, cell.highlighted ? kCellLit : kCell);
  const int barHeight = cell.value * (r.height() - 2) / 255;
  if (barHeight > 0) p.fillRect(QRect(r.left() + 1, r.bottom() - barHeight, 4, barHeight), kBar);
  if (cell.highlighted) {
    p.setPen(kHighlight);
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
  p.setPen(kNumber);
  p.drawText(r.adjusted(7, 1, -2, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(channel));
  p.setPen(kValue);
  p.drawText(r.adjusted(7, 0, -2, -1), Qt::AlignRight | Qt::AlignBottom, QString::number(cell.value));
}

void DmxMonitorWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), kBackground);
  QFont small = font();
  small.setPointSizeF(7);
  for (int universe = 0; universe < 2; ++universe) {
    const QRect header(kMargin, universeTop(universe) - kHeader, kColumns * kCellWidth, kHeader);
    if (!header.intersects(event->rect())) continue;
    p.setPen(kValue);
    p.setFont(font());
    const int first = universe * ChannelBuffer::kUniverseSize + 1;
    p.drawText(header, Qt::AlignLeft | Qt::AlignVCenter,
               QString("Universe %1: channels %2 to %3 (DMX 1 to 512)")
                   .arg(universe + 1)
                   .arg(first)
                   .arg(first + ChannelBuffer::kUniverseSize - 1));
  }
  p.setFont(small);
  for (int channel = 1; channel <= ChannelBuffer::kChannels; ++channel)
    if (cellRect(channel).intersects(event->rect())) paintCell(p, channel);
}

bool DmxMonitorWidget::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    if (const int channel = channelAt(help->pos())) {
      const int universe = (channel - 1) / ChannelBuffer::kUniverseSize + 1;
      const int dmx = (channel - 1) % ChannelBuffer::kUniverseSize + 1;
      QToolTip::showText(help->globalPos(), QString("Channel %1 (universe %2, DMX %3): %4")
                                                .arg(channel)
                                                .arg(universe)
                                                .arg(dmx)
                                                .arg(channels_.get(channel)));
    } else {
      QToolTip::hideText();
    }
    return true;
  }
  return QWidget::event(event);
}

}  // namespace vantorhost
