#include "vantorhost/desktop/pixel_range_labels.h"

#include <QLabel>
#include <array>
#include <cstdio>

#include "bridge/vbvis.h"
#include "toolkit/qt/form_window.h"

namespace vantorhost {

namespace {

// Below 1 kHz in Hz with one decimal, above in kHz with two.
std::string frequencies(double from, double to) {
  char text[48];
  if (to < 1000) std::snprintf(text, sizeof text, "%.1f\u2013%.1f Hz", from, to);
  else std::snprintf(text, sizeof text, "%.2f\u2013%.2f kHz", from / 1000, to / 1000);
  return text;
}

// Only a changed choice rewrites a label.
class PixelRangeLabels : public tk::qt::WindowDecoration {
 public:
  PixelRangeLabels(IPluginDesign& design, const tk::Form& form, QLabel* from, QLabel* to)
      : design_(design), form_(form), labels_{from, to} {}

  void sync() override {
    const std::optional<DesignPixelChoice> choice = design_.pixelChoice(form_);
    if (!choice) return;
    const std::array<int, 2> chosen{choice->from.listIndex, choice->to.listIndex};
    for (std::size_t i = 0; i < chosen.size(); ++i) {
      if (chosen[i] == shown_[i]) continue;
      shown_[i] = chosen[i];
      labels_[i]->setText(QString::fromStdString(pixelRangeText(chosen[i])));
    }
  }

 private:
  IPluginDesign& design_;
  const tk::Form& form_;
  std::array<QLabel*, 2> labels_;
  std::array<int, 2> shown_{-2, -2};  // what each label shows; -2: nothing yet
};

// A small right-aligned label in the window named `name`, from `leftTwips`
// to the box's right edge, just below the box.
QLabel* labelUnder(tk::qt::FormWindow& window, const tk::Geometry& box, int leftTwips, const char* name) {
  const tk::qt::TwipScale& scale = window.scale();
  auto* label = new QLabel(&window);
  label->setObjectName(name);
  QFont font = label->font();
  font.setPointSizeF(7);
  label->setFont(font);
  label->setAlignment(Qt::AlignRight | Qt::AlignTop);
  label->setGeometry(QRect(QPoint(scale.pixel(leftTwips), scale.pixel(box.top + box.height)),
                           QPoint(scale.pixel(box.left + box.width) - 1, scale.pixel(box.top + box.height) + 11)));
  label->show();
  return label;
}

}  // namespace

std::string pixelRangeText(int listIndex) {
  double from = 0, to = 0;
  if (vbvis_bin_range(listIndex, &from, &to) != 0) return {};
  return frequencies(from, to);
}

std::unique_ptr<tk::qt::WindowDecoration> decoratePixelBoxes(IPluginDesign& design, tk::Form& form,
                                                             tk::qt::FormWindow& window) {
  const std::optional<DesignPixelChoice> choice = design.pixelChoice(form);
  if (!choice) return nullptr;
  // The first pixel's box and its heading, then the last pixel's box, on one row.
  const tk::Geometry& from = choice->from.geometry;
  const int toLeft = from.left + from.width + 60;
  return std::make_unique<PixelRangeLabels>(design, form,
                                            labelUnder(window, from, choice->headingLeft, "FromPixelRange"),
                                            labelUnder(window, choice->to.geometry, toLeft, "ToPixelRange"));
}

}  // namespace vantorhost
