#pragma once
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace vantorhost {

// A beat lamp (the plug-in's beat counter's, the tracker's): lit for a
// moment after each beat. It goes dark with the first darkenIfDue() at
// least kFlashMs after the last beat, which its window calls when it
// repaints anyway, so going dark costs no repaint of its own; when nothing
// calls, kLongestFlashMs after the beat.
class BeatIndicator : public QWidget {
 public:
  static constexpr int kFlashMs = 120;
  static constexpr int kLongestFlashMs = 200;

  explicit BeatIndicator(QWidget* parent = nullptr);
  // A beat: lit now.
  void flash();
  // Dark now if lit for kFlashMs.
  void darkenIfDue();
  bool lit() const { return lit_; }
  QSize sizeHint() const override { return {18, 18}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void setLit(bool lit);
  bool lit_ = false;
  QElapsedTimer litFor_;
  QTimer dark_;
};

}  // namespace vantorhost
