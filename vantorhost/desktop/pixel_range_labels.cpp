#include "vantorhost/desktop/pixel_range_labels.h"

#include <QLabel>
#include <array>
#include <cstdio>

#include "bridge/vbvis.h"
#include "toolkit/combo_box.h"
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

class PixelRangeLabels : public tk::qt::WindowDecoration {
 public:
  struct Shown {
    const tk::ComboBox* box;
    QLabel* label;
    int index = -2;  // what the label shows; -2: nothing yet
  };
  explicit PixelRangeLabels(std::array<Shown, 2> shown) : shown_(shown) {}

  // Only a changed selection rewrites a label.
  void sync() override {
    for (Shown& s : shown_) {
      if (s.box->listIndex() == s.index) continue;
      s.index = s.box->listIndex();
      s.label->setText(QString::fromStdString(pixelRangeText(s.index)));
    }
  }

 private:
  std::array<Shown, 2> shown_;
};

// A small right-aligned label in the window, between two twip positions
// across and below the box.
QLabel* labelUnder(tk::qt::FormWindow& window, const tk::ComboBox& box, int leftTwips) {
  const tk::Geometry& g = box.geometry();
  const tk::qt::TwipScale& scale = window.scale();
  auto* label = new QLabel(&window);
  label->setObjectName(QString::fromStdString(box.name() + "Range"));
  QFont font = label->font();
  font.setPointSizeF(7);
  label->setFont(font);
  label->setAlignment(Qt::AlignRight | Qt::AlignTop);
  label->setGeometry(QRect(QPoint(scale.pixel(leftTwips), scale.pixel(g.top + g.height)),
                           QPoint(scale.pixel(g.left + g.width) - 1, scale.pixel(g.top + g.height) + 11)));
  label->show();
  return label;
}

}  // namespace

std::string pixelRangeText(int listIndex) {
  double from = 0, to = 0;
  if (vbvis_bin_range(listIndex, &from, &to) != 0) return {};
  return frequencies(from, to);
}

std::unique_ptr<tk::qt::WindowDecoration> decoratePixelBoxes(tk::Form& form, tk::qt::FormWindow& window) {
  if (form.name() != "Presets_Channel") return nullptr;
  auto* from = dynamic_cast<tk::ComboBox*>(form.findControl("Combo1"));
  auto* to = dynamic_cast<tk::ComboBox*>(form.findControl("Combo2"));
  const tk::Control* heading = form.findControl("Label10");
  if (!from || !to || !heading) return nullptr;
  // "Von:" and its box, then "Bis:" and its box, on the heading's row.
  const int fromLeft = heading->geometry().left;
  const int toLeft = from->geometry().left + from->geometry().width + 60;
  return std::make_unique<PixelRangeLabels>(std::array<PixelRangeLabels::Shown, 2>{
      PixelRangeLabels::Shown{from, labelUnder(window, *from, fromLeft)},
      PixelRangeLabels::Shown{to, labelUnder(window, *to, toLeft)}});
}

}  // namespace vantorhost
