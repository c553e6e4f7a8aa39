// A list view in report view: columns with widths in twips, rows numbered
// from 1, one selected row or none.
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "toolkit/list_view.h"
#include "toolkit/qt/binding_factories.h"

namespace tk::qt {

namespace {

class ListViewBinding : public ControlBinding {
 public:
  ListViewBinding(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& dispatch)
      : ControlBinding(c, new QTreeWidget(parent), s) {
    QTreeWidget* tree = view();
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setAllColumnsShowFocus(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionsMovable(false);
    auto& model = static_cast<ListView&>(c);
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, [tree, &model, dispatch] {
      const QList<QTreeWidgetItem*> chosen = tree->selectedItems();
      const int row = chosen.isEmpty() ? 0 : tree->indexOfTopLevelItem(chosen.front()) + 1;
      dispatch([&model, row] { model.userSelect(row); });
    });
  }

 protected:
  void syncOwn() override {
    const auto& model = static_cast<const ListView&>(control());
    QTreeWidget* tree = view();
    const QSignalBlocker quiet(tree);
    if (model.columns() != columns_) {
      columns_ = model.columns();
      QStringList headers;
      for (const ListColumn& col : columns_) headers << QString::fromStdString(col.header);
      tree->setColumnCount(static_cast<int>(columns_.size()));
      tree->setHeaderLabels(headers);
      for (int i = 0; i < static_cast<int>(columns_.size()); ++i)
        tree->setColumnWidth(i, scale().length(columns_[static_cast<size_t>(i)].width));
    }
    tree->setHeaderHidden(columns_.empty());
    if (model.rows() != rows_) {
      rows_ = model.rows();
      tree->clear();
      QList<QTreeWidgetItem*> items;
      for (const ListRow& row : rows_) {
        QStringList texts;
        for (const std::string& t : row) texts << QString::fromStdString(t);
        items << new QTreeWidgetItem(texts);
      }
      tree->addTopLevelItems(items);
    }
    const int selected = model.selectedRow();
    QTreeWidgetItem* item = selected > 0 ? tree->topLevelItem(selected - 1) : nullptr;
    if (item) {
      tree->setCurrentItem(item);
    } else {
      tree->clearSelection();
      tree->setCurrentItem(nullptr);
    }
  }
  void applyColors() override {}

 private:
  QTreeWidget* view() const { return static_cast<QTreeWidget*>(widget()); }
  std::vector<ListColumn> columns_;
  std::vector<ListRow> rows_;
};

}  // namespace

BindingPtr bindListView(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d) {
  return std::make_unique<ListViewBinding>(c, parent, s, d);
}

}  // namespace tk::qt
