#pragma once
#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>

#include "vantorhost/channel_buffer.h"

namespace vantorhost {

// The DMX monitor: channels 1..1024 as two universes of 512, each channel a
// cell with its number, its value and a bar; a channel that changed in the
// last second is highlighted. refresh() repaints only what moved: a new
// value repaints the cell's bar and value, a highlight coming or going the
// whole cell.
class DmxMonitorWidget : public QWidget {
 public:
  static constexpr std::int64_t kHighlightMs = 1000;
  static constexpr int kColumns = 32;

  explicit DmxMonitorWidget(const ChannelBuffer& channels, QWidget* parent = nullptr);
  // Returns when the next highlight goes out (-1: none is lit), so the
  // caller can refresh again then.
  std::int64_t refresh(std::int64_t nowMs);

  // The cell of a channel 1..1024 and the channel under a point (0: none).
  QRect cellRect(int channel) const;
  int channelAt(QPoint point) const;
  bool highlighted(int channel) const { return shown_[static_cast<std::size_t>(channel - 1)].highlighted; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  struct Cell {
    std::uint8_t value = 0;
    bool highlighted = false;
  };
  // The parts of a cell inside its border: the bar at the left, the value
  // at the bottom right; the number sits at the top.
  QRect inner(int channel) const { return cellRect(channel).adjusted(1, 1, -1, -1); }
  QRect barArea(int channel) const;
  QRect valueArea(int channel) const;
  // Whether the value's line lies wholly in the value area (the type fits
  // the cell); if not, cells are painted whole.
  bool valueBelowNumber() const;
  void paintCell(QPainter& p, int channel, const QRect& exposed);
  void paintHeader(QPainter& p, int universe, const QRect& header);
  const QImage& litValueImage(std::uint8_t value, QSize size);
  int universeTop(int universe) const;

  const ChannelBuffer& channels_;
  std::array<Cell, ChannelBuffer::kChannels> shown_{};
  // Each value's text as painted on a lit cell, made on first use: a moving
  // channel repaints from here instead of laying out text.
  std::array<QImage, 256> litValueImages_;
  int lineHeight_;  // of the cells' type
};

}  // namespace vantorhost
