// tableClass: a grid of text cells drawn into its owner's window. A few
// header rows always stay in view, the data rows below them scroll; a cell
// bound to a value object shows that value through its format and follows
// it (any change of a bound value repaints the owner); cells are selected
// as X or Y values (shown by their text colour); a click on a header sorts
// the data rows by that column; the latest drawing's geometry turns a mouse
// position into a cell.
//
// Each data row describes one object of its owner (for the session summary,
// a test's thumbnail): sorting moves whole rows, and a drawing given the
// session panel rebuilds the session's order from the table's.
#ifndef DESKTOP_WINDOWS_TABLE_TABLE_H
#define DESKTOP_WINDOWS_TABLE_TABLE_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/winlib/values/link_object.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/values/string_object.h"
#include "desktop/winlib/windows/window_object.h"

class sessionPanelClass;

constexpr uint32_t table_window_type = 14;
constexpr uint32_t table_link_type = 10;

// A cell's selection state, also the colour index of its text.
enum cellRole : int32_t {
  cell_role_x = 0,
  cell_role_y = 2,
  cell_unselected = 5,
};

// The number a cell stands for, from the object its row describes.
using cellValueRoutine = std::function<double(winTypeClass* owner)>;
// The text of a column's value.
using columnTextRoutine = const char* (*)(double value);

class tableCellClass {
 public:
  tableCellClass() : text("---") {}

  // The text shown: a bound cell's format filled with its value; any other
  // cell's text exactly as it was set (never used as a format).
  const char* current_text();
  // The cell's value routine on its owner, or else its text read as a
  // number (0.0 for a text that is not one).
  double number();
  bool is_bound() const { return bound != 0; }

  winTypeClass* owner = nullptr;
  cellValueRoutine value_routine;
  // True while a bound cell's value stands for nothing found: it shows "---".
  std::function<bool()> no_value;
  uint8_t text_flag = 0;  // 1: the column sorts as text
  int32_t state = cell_unselected;
  uint8_t bound = 0;
  stringObjectClass text;
};

class tableClass : public linkClass, public winTypeClass {
 public:
  tableClass(winTypeClass* parent, int rows, int columns, int header_rows);
  ~tableClass() override;

  // A bound value changed: the owner's window is repainted.
  bool update() override;
  // The window side's rescale: a table has no window of its own.
  void draw(HDC dc, const paper& scale) override;

  // Draws the table into the box (millimetres of scale) on dc: header rows,
  // then the data rows from the first shown row, as many as the box holds.
  // With a session panel (after a sort) the session takes the table's order
  // of tests. False, with "*** CANNOT CREATE FONT FOR TABLE ***", when the
  // fonts cannot be made (nothing is drawn).
  bool draw(HDC dc, double left, double top, double width, double height, const paper& scale,
            sessionPanelClass* session);

  void set_visible_rows(int n);
  int visible_rows() const { return visible_rows_; }
  void set_scroll_offset(int k);
  int first_shown_row() const { return first_shown_; }
  int row_count() const { return rows_; }
  int column_count() const { return columns_; }
  int header_row_count() const { return header_rows_; }
  // One row further down the data, while the first shown row is above the
  // last row; one row back, while it is below the header rows.
  void scroll_forward();
  void scroll_back();

  // Null (or "") outside the grid.
  tableCellClass* cell(int row, int column) const;
  const char* cell_text(int row, int column) const;
  void set_cell_format(int row, int column, const char* text);
  // The cell's format is filled with value and follows it.
  void bind_cell(int row, int column, linkClass* value);

  // The column's unit name ("???" until set) and the routine that makes a
  // text of one of its values (none until set).
  void set_column_unit(int column, const char* unit);
  const char* column_unit(int column) const;
  void set_column_routine(int column, columnTextRoutine routine);
  columnTextRoutine column_routine(int column) const;

  // On a header row: sorts by the column, selects nothing. On a data row: an
  // unselected cell takes the role (the first X or Y cell also names the x
  // or y column) and joins the selection; a selected cell, in either role,
  // leaves it.
  void select_cell(int row, int column, int32_t role);
  // Every data cell of the column takes the role and joins the selection.
  void select_column(int column, int32_t role);
  void clear_selection();
  const std::vector<tableCellClass*>& selection() const { return selection_; }
  int x_column() const { return x_column_; }
  int y_column() const { return y_column_; }

  // Ascending by the column: as text (byte by byte) when the column's first
  // data cell says so, else by number; equal rows keep their order.
  void sort_by_column(int column);
  void swap_rows(int a, int b);
  bool order_changed() const { return order_changed_ != 0; }

  // The cell under a point (millimetres of the latest screen drawing's
  // scale): the column whose box in row 1 spans x and the row whose box in
  // column 1 spans y, edges included. Only rows of that drawing count. False
  // when the point is in no row or no column.
  bool find_cell(double x_mm, double y_mm, int* row, int* column) const;
  // The column under a pixel of the latest screen drawing when the pixel
  // lies in a header row, else -1.
  int column_at(int x, int y) const;

  // What the latest drawing (on the screen or a printer) put into a cell:
  // its text as drawn, cut with "..." when even the smallest font leaves it
  // wider than its column, the column's room in pixels of that drawing's
  // device context, and the font it was drawn in. Empty for a cell not drawn.
  struct drawnCell {
    std::string text;
    int left_px = 0;
    int right_px = 0;
    LOGFONTA font{};
  };
  const drawnCell& drawn_cell(int row, int column) const;

 private:
  struct cellBox {
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
    bool contains_x(double x) const { return x >= left && x <= right; }
    bool contains_y(double y) const { return y >= top && y <= bottom; }
  };
  struct columnDescriptor {
    std::string unit = "???";
    columnTextRoutine routine = nullptr;
  };

  bool in_grid(int row, int column) const { return row >= 0 && row < rows_ && column >= 0 && column < columns_; }
  tableCellClass* at(int row, int column) const {
    return cells_[static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column)].get();
  }
  cellBox& box(int row, int column) {
    return geometry_[static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column)];
  }
  const cellBox& box(int row, int column) const {
    return geometry_[static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column)];
  }
  void take_role(tableCellClass* cell, int column, int32_t role);
  void rebuild_session_order(sessionPanelClass* session);

  int rows_;
  int columns_;
  int header_rows_;
  int first_shown_;
  int visible_rows_;
  int x_column_ = -1;
  int y_column_ = -1;
  uint8_t order_changed_ = 0;
  std::vector<tableCellClass*> selection_;  // not owned
  std::vector<std::unique_ptr<tableCellClass>> cells_;
  std::vector<columnDescriptor> columns_info_;
  std::vector<cellBox> geometry_;
  std::vector<drawnCell> drawn_;
  std::vector<uint8_t> row_drawn_;  // rows of the latest screen drawing
  paper drawn_scale_;
  double drawn_left_ = 0.0;
  double drawn_top_ = 0.0;
};

#endif
