#pragma once
#include <QWidget>

namespace vantorhost {

// The beat tool's lamp: lit for a moment after each beat.
class BeatIndicator : public QWidget {
 public:
  static constexpr std::int64_t kFlashMs = 120;

  explicit BeatIndicator(QWidget* parent = nullptr);
  // Lit while the last beat (-1: none yet) is less than kFlashMs old.
  void follow(std::int64_t lastBeatMs, std::int64_t nowMs);
  bool lit() const { return lit_; }
  QSize sizeHint() const override { return {18, 18}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  bool lit_ = false;
};

}  // namespace vantorhost
