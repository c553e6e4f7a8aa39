#pragma once
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace tk {

struct ListColumn {
  std::string header;
  int width = 0;  // twips
  bool operator==(const ListColumn&) const = default;
};

// A row: its text, then the texts of its sub-items.
using ListRow = std::vector<std::string>;

struct ListViewState {
  std::vector<ListColumn> columns;
  std::vector<ListRow> rows;
  int selected = 0;  // 1-based row number; 0: none
  bool reportView = false;
  bool operator==(const ListViewState&) const = default;
};

// A list view in report view: rows numbered from 1, one selected row or none.
class ListView : public StatefulControl<ListViewState> {
 public:
  ListView(Form& form, std::string name) : StatefulControl(form, ControlKind::ListView, std::move(name)) {}

  void addColumn(std::string header, int width);
  void setReportView(bool on) { assign(state_.reportView, on); }
  const std::vector<ListColumn>& columns() const { return state_.columns; }

  int rowCount() const { return static_cast<int>(state_.rows.size()); }
  const std::vector<ListRow>& rows() const { return state_.rows; }
  void addRow(ListRow row);
  // Removes row n (1-based); the rows behind it move up by one.
  void removeRow(int n);
  void clearRows();

  int selectedRow() const { return state_.selected; }
  // Selects row n (1-based), 0 for none; false when n is out of range.
  bool select(int n);
  void userSelect(int n) {
    if (enabled()) select(n);
  }

  std::optional<std::string> property(std::string_view name) const override;
};

}  // namespace tk
