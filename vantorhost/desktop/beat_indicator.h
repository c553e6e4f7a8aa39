#pragma once
#include <QTimer>
#include <QWidget>

namespace vantorhost {

// The beat tool's lamp: lit for a moment after each beat.
class BeatIndicator : public QWidget {
 public:
  static constexpr int kFlashMs = 120;

  explicit BeatIndicator(QWidget* parent = nullptr);
  // A beat: lit now, dark again kFlashMs after the last one.
  void flash();
  bool lit() const { return lit_; }
  QSize sizeHint() const override { return {18, 18}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void setLit(bool lit);
  bool lit_ = false;
  QTimer dark_;
};

}  // namespace vantorhost
