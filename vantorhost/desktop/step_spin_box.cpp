#include "vantorhost/desktop/step_spin_box.h"

#include <QLineEdit>
#include <algorithm>

namespace vantorhost {

StepSpinBox::StepSpinBox(int maximum, int step, const QString& unit, QWidget* parent) : QSpinBox(parent) {
  setRange(0, maximum);
  setSingleStep(step);
  setSuffix(unit);
  setKeyboardTracking(false);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  // A typed value that rounds to the value already there changes nothing,
  // and Qt would leave the typed text standing: show the value.
  QObject::connect(this, &QAbstractSpinBox::editingFinished, this,
                   [this] { lineEdit()->setText(prefix() + textFromValue(value()) + suffix()); });
}

int StepSpinBox::snapped(int value) const {
  const int step = singleStep();
  return std::clamp((value + step / 2) / step * step, minimum(), maximum() / step * step);
}

void StepSpinBox::stepBy(int steps) {
  const int step = singleStep();
  const int v = value();
  // From between two steps, the first step is the next one in that direction.
  const int base = steps > 0 ? v / step * step : (v + step - 1) / step * step;
  setValue(std::clamp(base + steps * step, minimum(), maximum()));
  selectAll();
}

int StepSpinBox::valueFromText(const QString& text) const {
  const int typed = QSpinBox::valueFromText(text);
  return keepTyped_ ? typed : snapped(typed);
}

}  // namespace vantorhost
