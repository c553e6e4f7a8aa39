#pragma once
#include <QTimer>
#include <QWidget>

namespace vantorhost {

// A beat lamp (the plug-in's beat counter's, the tracker's): lit for a moment after each beat.
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
