// Plotting the summary's selected cells: X cells give the x values and Y
// cells the y values, each in selection order.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/windows/summary/summary.h"

namespace {

constexpr int32_t summary_trace_colour = 3;

// The symbols' spacing along x values in ascending order: the smallest gap
// between two different ones, so that each point gets its symbol (1.0 when
// all are equal).
double symbol_spacing(const std::vector<double>& x) {
  double gap = 0.0;
  for (size_t i = 1; i < x.size(); i++) {
    double d = x[i] - x[i - 1];
    if (d > 0.0 && (gap == 0.0 || d < gap)) gap = d;
  }
  if (gap == 0.0) return 1.0;
  // Never more symbols than the graph draws.
  return std::max(gap, (x.back() - x.front()) / 10000.0);
}

}  // namespace

bool summaryClass::plot_selected() {
  if (!table_) return false;
  const std::vector<tableCellClass*>& chosen = table_->selection();
  if (chosen.empty()) {
    errormessage("*** No cells have been selected ***");
    return false;
  }
  std::vector<double> x;
  std::vector<double> y;
  std::vector<bool> x_none;
  std::vector<bool> y_none;
  for (tableCellClass* cell : chosen) {
    const bool is_x = cell->state == cell_role_x;
    std::vector<double>* values = is_x ? &x : cell->state == cell_role_y ? &y : nullptr;
    if (!values) continue;
    if (static_cast<int>(values->size()) >= summary_plot_limit) {
      errormessage("*** I can only plot %d data points ***", summary_plot_limit);
      return false;
    }
    values->push_back(cell->number());
    (is_x ? x_none : y_none).push_back(cell->no_value && cell->no_value());
  }
  if (x.size() != y.size()) {
    errormessage("*** x and y values are unbalanced (%d x values, %d y values). ***", static_cast<int>(x.size()),
                 static_cast<int>(y.size()));
    return false;
  }
  // A cell showing "---" holds no value: its pair is left out.
  std::vector<double> x_kept;
  std::vector<double> y_kept;
  for (size_t i = 0; i < x.size(); i++) {
    if (x_none[i] || y_none[i]) continue;
    x_kept.push_back(x[i]);
    y_kept.push_back(y[i]);
  }
  if (x_kept.empty()) {
    errormessage("*** The selected cells hold no values to plot ***");
    return false;
  }
  return open_summary_graph(x_kept, y_kept);
}

std::string summaryClass::plot_title() const {
  char title[512];
  std::snprintf(title, sizeof title, "Summary Graph: %s %s vs %s %s", table_->cell_text(0, table_->x_column()),
                table_->cell_text(1, table_->x_column()), table_->cell_text(0, table_->y_column()),
                table_->cell_text(1, table_->y_column()));
  return title;
}

bool summaryClass::open_summary_graph(const std::vector<double>& x, const std::vector<double>& y) {
  // A trace runs along x (the graph finds points and symbols by x): the
  // pairs in order of x, pairs of equal x in selection order.
  std::vector<size_t> order(x.size());
  for (size_t i = 0; i < order.size(); i++) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&x](size_t a, size_t b) { return x[a] < x[b]; });
  std::vector<double> xs;
  std::vector<double> ys;
  for (size_t i : order) {
    xs.push_back(x[i]);
    ys.push_back(y[i]);
  }
  auto* graph = new comparisonPanelClass(this, plot_title().c_str(), 0);
  if (!graph->hwnd()) {
    delete graph;  // reported by the graph
    return false;
  }
  tracePlusClass* entry =
      graph->add_xy_arrays(xs.data(), ys.data(), static_cast<int32_t>(xs.size()), summary_trace_colour);
  if (!entry) return false;
  traceClass* trace = entry->own_trace();
  trace->set_name("summary");
  trace->symbol = symbol_circle;
  trace->symbol_color = summary_trace_colour;
  trace->symbol_separation = symbol_spacing(xs);
  trace->set_x_units(table_->column_unit(table_->x_column()));
  trace->set_y_units(table_->column_unit(table_->y_column()));
  graph->update_trace_line(graph->trace_count(), entry);
  graph->invalidate();
  return true;
}
