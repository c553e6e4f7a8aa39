#pragma once
#include <QSpinBox>

namespace vantorhost {

// A spin box whose values keep to whole steps from 0, so that it always
// shows what it applies: an arrow from a value between two steps goes to
// the next step that way, and a typed value is rounded to the nearest step
// in the box itself once typing ends (Enter, leaving the box). It tells
// valueChanged only then, not on each key. Where any whole number of the
// range stands (the beats' flash, as shows write it), typed values are
// kept as typed and only the arrows go by steps.
class StepSpinBox : public QSpinBox {
 public:
  StepSpinBox(int maximum, int step, const QString& unit, QWidget* parent = nullptr);
  // The nearest step to `value` within the range (halves up).
  int snapped(int value) const;
  void stepBy(int steps) override;
  void keepTypedValues() { keepTyped_ = true; }

 protected:
  int valueFromText(const QString& text) const override;

 private:
  bool keepTyped_ = false;
};

}  // namespace vantorhost
