#pragma once
#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>

#include "vantorhost/base/channel_buffer.h"
#include "vantorhost/fixtures/fixture_patch.h"

namespace vantorhost {

// The DMX monitor: channels 1..1024 as two universes of 512, each channel a
// cell with its number, its value and a bar; a channel that changed in the
// last second is highlighted. refresh() repaints only the cells that moved,
// neighbours in a row as one strip. With a patch, a fixture's cells carry
// its name across their top line, filled with the colour it gives (its
// colours mixed under its dimmer; grey for a fixture that mixes none), each
// cell its attribute beside its value and an intensity's bar in its colour;
// channels of no fixture look as before.
class DmxMonitorWidget : public QWidget {
 public:
  static constexpr std::int64_t kHighlightMs = 1000;
  static constexpr int kColumns = 32;

  explicit DmxMonitorWidget(const ChannelBuffer& channels, QWidget* parent = nullptr);
  // Returns when the next highlight goes out (-1: none is lit), so the
  // caller can refresh again then.
  std::int64_t refresh(std::int64_t nowMs);
  // The patch whose fixtures the cells name (it must outlive the widget or
  // be replaced); null: none. Repaints.
  void setPatch(const FixturePatch* patch);

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
  // The text boxes of the number (top left) and the value (bottom right),
  // and the lines they take: the number's first line, the value's area
  // below it and right of the bar, inside the highlight's border.
  QRect numberBox(int channel) const { return inner(channel).adjusted(7, 1, -2, 0); }
  QRect valueBox(int channel) const { return inner(channel).adjusted(7, 0, -2, -1); }
  QRect numberLine(int channel) const;
  QRect valueArea(int channel) const;
  // Whether the value's line lies wholly below the number's (the type fits
  // the cell); only then can a lit cell's texts come from images.
  bool valueBelowNumber() const;
  // A cell's whole rectangle: its border of background, its face and its texts.
  void paintCell(QPainter& p, int channel);
  // The face inside the border: the highlight's frame, the face and the bar.
  void paintFace(QPainter& p, int channel, const Cell& cell) const;
  // A fixture's cell: its name line in the fixture's colour, its attribute
  // and value, its bar in the colour of its intensity.
  void paintFixtureCell(QPainter& p, int channel, const PatchedChannel& patched);
  // Adds every cell of the fixture of `channel` to `region` (its colour
  // moves with each of its channels).
  void addFixtureCells(QRegion& region, int channel) const;
  void paintHeader(QPainter& p, int universe, const QRect& header);
  // A text as a lit cell shows it: `box` laid out as a full paint lays it
  // out, cut to `area`, on the lit cell's colour. Made on first use into
  // `image`: a moving channel repaints from there instead of laying out text.
  const QImage& litTextImage(QImage& image, const QString& text, const QColor& color, const QRect& box,
                             const QRect& area, Qt::Alignment align);
  // A lit cell's whole rectangle showing `value`, all but its number, made
  // on first use: a moving channel repaints as two images.
  const QImage& litCellImage(std::uint8_t value);
  int universeTop(int universe) const;
  // Where a universe's cells lie, all of them.
  QRect cellGrid(int universe) const;

  const ChannelBuffer& channels_;
  const FixturePatch* patch_ = nullptr;
  std::array<Cell, ChannelBuffer::kChannels> shown_{};
  std::array<QImage, 256> litCellImages_;
  std::array<QImage, ChannelBuffer::kChannels> litNumberImages_;
  int lineHeight_;  // of the cells' type
};

}  // namespace vantorhost
