// Drawing a table: fonts fitted to the box by measuring on the context that
// draws (a printer's included), texts cut to their columns, rows, the
// selection's colours, the grid lines, and the geometry the hit test reads.
#include <algorithm>
#include <cstring>

#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/windows/table/table.h"
#include "desktop/winlib/drawing/text_drawing.h"

namespace {

// Fitting shrinks the fonts at most this often, never below the smallest
// height (nor below one pixel); texts still too wide are cut to their column.
constexpr int fitting_passes = 16;
constexpr double smallest_font_mm = 2.0;

// The fonts are asked for a height only: a printer's driver may ignore a
// requested character width (Wine's PostScript driver does) and print the
// text wider than it was measured, so widths come from measuring alone.
class tableFonts {
 public:
  ~tableFonts() { release(); }
  bool make(const paper& scale, double height_mm) {
    release();
    int height = std::max(1, static_cast<int>(height_mm * scale.y_px_per_mm));
    header = make_font(height, 0, 400, "Arial", 0);
    data = make_font(height, 0, 400, "Courier New", 0);
    return header && data;
  }
  void release() {
    if (header) DeleteObject(header);
    if (data) DeleteObject(data);
    header = data = nullptr;
  }
  HFONT header = nullptr;
  HFONT data = nullptr;
};

double text_width_mm(HDC dc, const char* text, const paper& scale) {
  SIZE size = utf8_text_extent(dc, text, -1);
  return scale.x_px_per_mm > 0.0 ? size.cx / scale.x_px_per_mm : 0.0;
}

}  // namespace

bool tableClass::draw(HDC dc, double left, double top, double width, double height, const paper& scale,
                      sessionPanelClass* session) {
  if (rows_ == 0 || columns_ == 0 || width <= 0.0 || height <= 0.0 || scale.x_px_per_mm <= 0.0 ||
      scale.y_px_per_mm <= 0.0)
    return false;
  const double row_height = height / visible_rows_;
  double font_height = std::max(0.6 * row_height, 1.0 / scale.y_px_per_mm);
  const double smallest = std::min(font_height, std::max(smallest_font_mm, 1.0 / scale.y_px_per_mm));

  tableFonts fonts;
  if (!fonts.make(scale, font_height)) {
    errormessage("*** CANNOT CREATE FONT FOR TABLE ***");
    return false;
  }
  HGDIOBJ old_font = SelectObject(dc, fonts.header);

  // The widest text of each column, measured on dc, header rows in the
  // header font.
  std::vector<double> widest(static_cast<size_t>(columns_), 0.0);
  auto measure = [&]() {
    double total = 0.0;
    for (int c = 0; c < columns_; c++) {
      double w = 0.0;
      for (int r = 0; r < rows_; r++) {
        SelectObject(dc, r < header_rows_ ? fonts.header : fonts.data);
        w = std::max(w, text_width_mm(dc, at(r, c)->current_text(), scale));
      }
      widest[static_cast<size_t>(c)] = w;
      total += w + 5.0;
    }
    return total;
  };
  double total = measure();
  for (int pass = 0; pass < fitting_passes && total > width && font_height > smallest; pass++) {
    font_height = std::max(font_height * width / (total + 2.0), smallest);
    SelectObject(dc, old_font);  // a selected font cannot be deleted
    if (!fonts.make(scale, font_height)) {
      errormessage("*** CANNOT CREATE FONT FOR TABLE ***");
      return false;
    }
    total = measure();
  }
  // Each column spans its widest text and a margin; when even the smallest
  // font leaves the whole too wide, every column gives up the same share
  // and its texts are cut to it.
  const double squeeze = total > width ? width / total : 1.0;
  std::vector<double> spans(static_cast<size_t>(columns_), 0.0);
  for (int c = 0; c < columns_; c++) spans[static_cast<size_t>(c)] = (widest[static_cast<size_t>(c)] + 5.0) * squeeze;
  std::fill(drawn_.begin(), drawn_.end(), drawnCell{});

  HPEN thick = CreatePen(PS_SOLID, scale.scale_x(0.7), colour_value(3));
  HPEN thin = CreatePen(PS_SOLID, scale.scale_x(0.3), colour_value(3));
  HPEN clear = CreatePen(PS_SOLID, scale.scale_x(0.3), colour_value(9));
  HGDIOBJ old_pen = SelectObject(dc, clear);
  Rectangle(dc, scale.px_x(left), scale.px_y(top), scale.px_x(left + width),
            scale.px_y(top + visible_rows_ * row_height));

  std::vector<double> starts(static_cast<size_t>(columns_), 0.0);
  for (int c = 1; c < columns_; c++)
    starts[static_cast<size_t>(c)] = starts[static_cast<size_t>(c - 1)] + spans[static_cast<size_t>(c - 1)];

  const bool record = printing_flag == 0;
  if (record) {
    std::fill(row_drawn_.begin(), row_drawn_.end(), 0);
    scale.copy_to(drawn_scale_);
    drawn_left_ = left;
    drawn_top_ = top;
  }
  int old_mode = SetBkMode(dc, TRANSPARENT);
  COLORREF old_colour = GetTextColor(dc);
  int last_position = 0;
  auto draw_row = [&](int row, int position) {
    HFONT font = row < header_rows_ ? fonts.header : fonts.data;
    SelectObject(dc, font);
    const double y_mid = top + (position + 0.5) * row_height;
    for (int c = 0; c < columns_; c++) {
      tableCellClass* shown = at(row, c);
      const double start = starts[static_cast<size_t>(c)];
      const double span = spans[static_cast<size_t>(c)];
      drawnCell& drawn = drawn_[static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(c)];
      drawn.left_px = scale.px_x(left + start);
      drawn.right_px = scale.px_x(left + start + span);
      drawn.text = fitted_text(dc, shown->current_text(), scale.scale_x(std::max(span - 1.0, 0.0)));
      GetObjectA(font, sizeof drawn.font, &drawn.font);
      SIZE size = utf8_text_extent(dc, drawn.text.c_str(), -1);
      SetTextColor(dc, colour_value(valid_colour_index(shown->state) ? shown->state : 5));
      utf8_text_out(dc, scale.px_x(left + start + (span - 1.0) / 2.0) - size.cx / 2, scale.px_y(y_mid) - size.cy / 2,
                    drawn.text.c_str(), -1);
      if (record) box(row, c) = cellBox{start, position * row_height, start + span, (position + 1) * row_height};
    }
    if (record) row_drawn_[static_cast<size_t>(row)] = 1;
    last_position = position;
  };
  for (int r = 0; r < header_rows_; r++) draw_row(r, r);
  for (int r = first_shown_; r < rows_; r++) {
    int position = r - (first_shown_ - header_rows_);
    if (position >= visible_rows_) break;
    draw_row(r, position);
  }
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);

  auto line = [&](double x0, double y0, double x1, double y1) {
    MoveToEx(dc, scale.px_x(x0), scale.px_y(y0), nullptr);
    LineTo(dc, scale.px_x(x1), scale.px_y(y1));
  };
  const double header_bottom = top + header_rows_ * row_height;
  const double bottom = top + (last_position + 1) * row_height;
  const double right = left + width;
  SelectObject(dc, thick);
  for (int c = 1; c < columns_; c++) line(left + starts[c], top, left + starts[c], header_bottom);
  line(left, header_bottom, right, header_bottom);
  line(left, top, left, bottom);
  line(right, top, right, bottom);
  line(left, top, right, top);
  line(left, bottom, right, bottom);
  SelectObject(dc, thin);
  for (int c = 1; c < columns_; c++) line(left + starts[c], header_bottom, left + starts[c], bottom);

  SelectObject(dc, old_pen);
  SelectObject(dc, old_font);
  DeleteObject(thick);
  DeleteObject(thin);
  DeleteObject(clear);

  if (session) rebuild_session_order(session);
  return true;
}
