#include "toolkit/list_view.h"

#include "toolkit/format.h"

namespace tk {

void ListView::addColumn(std::string header, int width) {
  state_.columns.push_back({std::move(header), width});
  touch();
}

void ListView::addRow(ListRow row) {
  state_.rows.push_back(std::move(row));
  touch();
}

void ListView::removeRow(int n) {
  if (n < 1 || n > rowCount()) return;
  state_.rows.erase(state_.rows.begin() + (n - 1));
  // The selection follows the list control: a removed selected row leaves
  // nothing selected; a row behind it keeps its selection one place up.
  if (state_.selected == n) state_.selected = 0;
  else if (state_.selected > n) --state_.selected;
  touch();
}

void ListView::clearRows() {
  if (state_.rows.empty() && state_.selected == 0) return;
  state_.rows.clear();
  state_.selected = 0;
  touch();
}

bool ListView::select(int n) {
  if (n < 0 || n > rowCount()) return false;
  assign(state_.selected, n);
  return true;
}

std::optional<std::string> ListView::property(std::string_view name) const {
  if (name == "ListIndex") return fmt::number(state_.selected);
  if (name == "Rows") {
    std::string out = "[";
    for (size_t r = 0; r < state_.rows.size(); ++r) {
      if (r) out += "; ";
      for (size_t c = 0; c < state_.rows[r].size(); ++c) {
        if (c) out += ',';
        out += state_.rows[r][c];
      }
    }
    return out + "]";
  }
  return Control::property(name);
}

}  // namespace tk
