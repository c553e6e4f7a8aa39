#pragma once
#include <QWidget>
#include <array>
#include <cstdint>

#include "vantorhost/channel_buffer.h"

namespace vantorhost {

// The DMX monitor: channels 1..1024 as two universes of 512, each channel a
// cell with its number, its value and a bar; a channel that changed in the
// last second is highlighted. refresh() repaints only the cells that moved.
class DmxMonitorWidget : public QWidget {
 public:
  static constexpr std::int64_t kHighlightMs = 1000;
  static constexpr int kColumns = 32;

  explicit DmxMonitorWidget(const ChannelBuffer& channels, QWidget* parent = nullptr);
  void refresh(std::int64_t nowMs);

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
  void paintCell(QPainter& p, int channel) const;
  int universeTop(int universe) const;

  const ChannelBuffer& channels_;
  std::array<Cell, ChannelBuffer::kChannels> shown_{};
};

}  // namespace vantorhost
