#include "desktop/windows/table/table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "desktop/windows/session_panel/session_panel.h"

namespace {

// The session panel of a row's object: its parent when that is a session.
sessionPanelClass* session_of(winTypeClass* owner) {
  if (!owner || !owner->parent || owner->parent->type != session_window_type) return nullptr;
  return static_cast<sessionPanelClass*>(owner->parent);
}

}  // namespace

const char* tableCellClass::current_text() {
  if (bound && no_value && no_value()) return "---";
  return bound ? text.cvalue() : text.format_text();
}

double tableCellClass::number() {
  if (value_routine) return value_routine(owner);
  const char* shown = current_text();
  char* end = nullptr;
  double value = std::strtod(shown, &end);
  return end == shown ? 0.0 : value;
}

tableClass::tableClass(winTypeClass* parent_window, int rows, int columns, int header_rows)
    : linkClass(table_link_type, 1),
      winTypeClass(parent_window, table_window_type),
      rows_(std::max(rows, 0)),
      columns_(std::max(columns, 0)),
      header_rows_(std::min(std::max(header_rows, 0), std::max(rows, 0))),
      first_shown_(header_rows_),
      visible_rows_(rows_) {
  size_t count = static_cast<size_t>(rows_) * static_cast<size_t>(columns_);
  cells_.reserve(count);
  for (size_t i = 0; i < count; i++) cells_.push_back(std::make_unique<tableCellClass>());
  columns_info_.resize(static_cast<size_t>(columns_));
  geometry_.resize(count);
  drawn_.resize(count);
  row_drawn_.assign(static_cast<size_t>(rows_), 0);
}

tableClass::~tableClass() {
  clear_selection();
  // The cells' texts leave the values they follow as they go.
  cells_.clear();
}

bool tableClass::update() {
  if (winTypeClass::parent) winTypeClass::parent->invalidate();
  return true;
}

void tableClass::draw(HDC, const paper&) {}

void tableClass::set_visible_rows(int n) { visible_rows_ = std::max(n, 1); }

void tableClass::set_scroll_offset(int k) {
  first_shown_ = std::max(header_rows_, std::min(header_rows_ + std::max(k, 0), std::max(rows_ - 1, header_rows_)));
}

void tableClass::scroll_forward() {
  if (first_shown_ < rows_ - 1) first_shown_++;
}

void tableClass::scroll_back() {
  if (first_shown_ > header_rows_) first_shown_--;
}

tableCellClass* tableClass::cell(int row, int column) const { return in_grid(row, column) ? at(row, column) : nullptr; }

const char* tableClass::cell_text(int row, int column) const {
  return in_grid(row, column) ? at(row, column)->current_text() : "";
}

void tableClass::set_cell_format(int row, int column, const char* text) {
  if (in_grid(row, column)) at(row, column)->text.set_format_text(text ? text : "");
}

void tableClass::bind_cell(int row, int column, linkClass* value) {
  if (!in_grid(row, column) || !value) return;
  tableCellClass* bound = at(row, column);
  bound->text.add_dependency(value);
  bound->bound = 1;
  // The table follows the value itself: a value text passes on only changes
  // of its own format.
  add_dependency(value);
}

void tableClass::set_column_unit(int column, const char* unit) {
  if (column >= 0 && column < columns_) columns_info_[static_cast<size_t>(column)].unit = unit ? unit : "";
}

const char* tableClass::column_unit(int column) const {
  return column >= 0 && column < columns_ ? columns_info_[static_cast<size_t>(column)].unit.c_str() : "";
}

void tableClass::set_column_routine(int column, columnTextRoutine routine) {
  if (column >= 0 && column < columns_) columns_info_[static_cast<size_t>(column)].routine = routine;
}

columnTextRoutine tableClass::column_routine(int column) const {
  return column >= 0 && column < columns_ ? columns_info_[static_cast<size_t>(column)].routine : nullptr;
}

void tableClass::take_role(tableCellClass* chosen, int column, int32_t role) {
  chosen->state = role;
  if (role == cell_role_x && x_column_ < 0) x_column_ = column;
  if (role == cell_role_y && y_column_ < 0) y_column_ = column;
  selection_.push_back(chosen);
}

void tableClass::select_cell(int row, int column, int32_t role) {
  if (!in_grid(row, column)) return;
  if (row < header_rows_) {
    sort_by_column(column);
    return;
  }
  tableCellClass* chosen = at(row, column);
  if (chosen->state == cell_unselected) {
    take_role(chosen, column, role);
    return;
  }
  chosen->state = cell_unselected;
  selection_.erase(std::remove(selection_.begin(), selection_.end(), chosen), selection_.end());
}

void tableClass::select_column(int column, int32_t role) {
  if (column < 0 || column >= columns_) return;
  for (int row = header_rows_; row < rows_; row++) take_role(at(row, column), column, role);
}

void tableClass::clear_selection() {
  x_column_ = -1;
  y_column_ = -1;
  for (tableCellClass* chosen : selection_) chosen->state = cell_unselected;
  selection_.clear();
}

void tableClass::sort_by_column(int column) {
  if (column < 0 || column >= columns_ || rows_ - header_rows_ < 2) return;
  const bool as_text = at(header_rows_, column)->text_flag != 0;
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (int row = header_rows_; row + 1 < rows_; row++) {
      tableCellClass* upper = at(row, column);
      tableCellClass* lower = at(row + 1, column);
      bool out_of_order = as_text ? std::strcmp(upper->current_text(), lower->current_text()) > 0
                                  : upper->number() > lower->number();
      if (out_of_order) {
        swap_rows(row, row + 1);
        order_changed_ = 1;
        swapped = true;
      }
    }
  }
}

void tableClass::swap_rows(int a, int b) {
  if (a < 0 || a >= rows_ || b < 0 || b >= rows_ || a == b) return;
  for (int column = 0; column < columns_; column++) {
    size_t i = static_cast<size_t>(a) * static_cast<size_t>(columns_) + static_cast<size_t>(column);
    size_t j = static_cast<size_t>(b) * static_cast<size_t>(columns_) + static_cast<size_t>(column);
    std::swap(cells_[i], cells_[j]);
  }
  if (columns_ > 0) {
    if (sessionPanelClass* session = session_of(at(a, 0)->owner)) session->set_modified();
  }
}

void tableClass::rebuild_session_order(sessionPanelClass* session) {
  // Every data row's test, those scrolled out of view too.
  std::vector<winTypeClass*> order;
  for (int row = header_rows_; row < rows_ && columns_ > 0; row++) order.push_back(at(row, 0)->owner);
  session->take_order(order);
  order_changed_ = 0;
  session->invalidate();
}

bool tableClass::find_cell(double x_mm, double y_mm, int* row, int* column) const {
  if (rows_ < 2 || columns_ < 2) return false;
  double x = x_mm - drawn_left_;
  double y = y_mm - drawn_top_;
  int found_column = -1;
  int found_row = -1;
  if (row_drawn_[1]) {
    for (int c = 0; c < columns_ && found_column < 0; c++)
      if (box(1, c).contains_x(x)) found_column = c;
  }
  for (int r = 0; r < rows_ && found_row < 0; r++)
    if (row_drawn_[static_cast<size_t>(r)] && box(r, 1).contains_y(y)) found_row = r;
  if (found_row < 0 || found_column < 0) return false;
  *row = found_row;
  *column = found_column;
  return true;
}

int tableClass::column_at(int x, int y) const {
  int row = -1;
  int column = -1;
  if (!find_cell(drawn_scale_.mm_x(x), drawn_scale_.mm_y(y), &row, &column)) return -1;
  return row < header_rows_ ? column : -1;
}

const tableClass::drawnCell& tableClass::drawn_cell(int row, int column) const {
  static const drawnCell none;
  if (!in_grid(row, column)) return none;
  return drawn_[static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column)];
}
