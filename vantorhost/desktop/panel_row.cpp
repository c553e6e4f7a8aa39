#include "vantorhost/desktop/panel_row.h"

#include <QHBoxLayout>
#include <QLabel>

namespace vantorhost {

void layOutPanelRow(QWidget& panel, const QString& caption, std::initializer_list<QWidget*> widgets) {
  auto* row = new QHBoxLayout(&panel);
  row->setContentsMargins(0, 0, 0, 0);
  if (!caption.isEmpty()) row->addWidget(new QLabel(caption));
  for (QWidget* widget : widgets) row->addWidget(widget);
}

}  // namespace vantorhost
