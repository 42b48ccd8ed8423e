// Plotting the summary's selected cells: X cells give the x values and Y
// cells the y values, each in selection order.
#include <cstdio>
#include <string>
#include <vector>

#include "messages.h"
#include "summary.h"

bool summaryClass::plot_selected() {
  if (!table_) return false;
  const std::vector<tableCellClass*>& chosen = table_->selection();
  if (chosen.empty()) {
    errormessage("*** No cells have been selected ***");
    return false;
  }
  std::vector<double> x;
  std::vector<double> y;
  for (tableCellClass* cell : chosen) {
    std::vector<double>* values = cell->state == cell_role_x ? &x : cell->state == cell_role_y ? &y : nullptr;
    if (!values) continue;
    if (static_cast<int>(values->size()) >= summary_plot_limit) {
      errormessage("*** I can only plot %d data points ***", summary_plot_limit);
      return false;
    }
    values->push_back(cell->number());
  }
  if (x.size() != y.size()) {
    errormessage("*** x and y values are unbalanced (%d x values, %d y values). ***", static_cast<int>(x.size()),
                 static_cast<int>(y.size()));
    return false;
  }
  return open_summary_graph(x, y);
}

std::string summaryClass::plot_title() const {
  char title[512];
  std::snprintf(title, sizeof title, "Summary Graph: %s %s vs %s %s", table_->cell_text(0, table_->x_column()),
                table_->cell_text(1, table_->x_column()), table_->cell_text(0, table_->y_column()),
                table_->cell_text(1, table_->y_column()));
  return title;
}

bool summaryClass::open_summary_graph(const std::vector<double>&, const std::vector<double>&) { return false; }
