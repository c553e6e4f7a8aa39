#include "vantorhost/desktop/readout_label.h"

#include <QVariant>

namespace vantorhost {

namespace {

// The length of the longest text known to fit, kept on the label: laying a
// text out to measure it costs more than showing it.
constexpr const char* kFits = "readoutFits";

}  // namespace

QLabel* readoutLabel(const QString& widest) {
  auto* label = new QLabel(widest);
  label->setFixedSize(label->sizeHint());
  label->setProperty(kFits, static_cast<int>(widest.size()));
  label->clear();
  return label;
}

void showReadout(QLabel& readout, const QString& text) {
  if (readout.text() == text) return;
  readout.setText(text);
  if (text.size() <= readout.property(kFits).toInt()) return;
  readout.setProperty(kFits, static_cast<int>(text.size()));
  if (const int needed = readout.sizeHint().width(); needed > readout.width()) readout.setFixedWidth(needed);
}

}  // namespace vantorhost
