#pragma once
#include <QWidget>
#include <cstdint>
#include <optional>

namespace tk::qt {

// An LED-style segment meter: nothing lit when clear, otherwise the share of
// segments that the level (0..100, clamped) gives, green, then yellow, then
// red at the top. Vertical when taller than wide, lit from the bottom. A new
// level repaints only the segments that change.
class LevelMeterWidget : public QWidget {
 public:
  explicit LevelMeterWidget(QWidget* parent = nullptr);
  void setLevel(std::optional<std::int16_t> level);
  std::optional<std::int16_t> level() const { return level_; }
  int segmentCount() const;
  // Segments lit for a level: level * count / 100 rounded, halves to even.
  static int litSegments(std::optional<std::int16_t> level, int count);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Where the first `lit` segments lie, with the gap above each.
  QRect litArea(int lit) const;
  // What differs between `before` and `after` segments lit.
  QRect changedArea(int before, int after) const;

  std::optional<std::int16_t> level_;
};

}  // namespace tk::qt
