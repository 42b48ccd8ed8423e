// Drawing a table: fonts fitted to the box, rows, the selection's colours,
// the grid lines, and the geometry the hit test reads.
#include <algorithm>
#include <cstring>

#include "colours.h"
#include "fonts.h"
#include "messages.h"
#include "printing.h"
#include "session_panel.h"
#include "table.h"
#include "text_drawing.h"

namespace {

// Fitting shrinks the character width at most this often; a font is never
// narrower than one pixel.
constexpr int fitting_passes = 16;

class tableFonts {
 public:
  ~tableFonts() { release(); }
  bool make(const paper& scale, double height_mm, double width_mm) {
    release();
    header = make_font_scaled(scale, height_mm, width_mm, 400, "Arial", 0.0, 0);
    data = make_font_scaled(scale, height_mm, width_mm, 400, "Courier New", 0.0, 0);
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
  const double column_width = width / columns_;
  const double min_width_mm = 1.0 / scale.x_px_per_mm;
  const double font_height = std::max(0.6 * row_height, 1.0 / scale.y_px_per_mm);
  double char_width = std::max(column_width / 10.0, min_width_mm);

  tableFonts fonts;
  if (!fonts.make(scale, font_height, char_width)) {
    errormessage("*** CANNOT CREATE FONT FOR TABLE ***");
    return false;
  }
  HGDIOBJ old_font = SelectObject(dc, fonts.header);

  // The widest text of each column, header rows in the header font.
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
  for (int pass = 0; pass < fitting_passes && total > width && char_width > min_width_mm; pass++) {
    char_width = std::max(char_width * width / (total + 2.0), min_width_mm);
    SelectObject(dc, old_font);  // a selected font cannot be deleted
    if (!fonts.make(scale, font_height, char_width)) {
      errormessage("*** CANNOT CREATE FONT FOR TABLE ***");
      return false;
    }
    total = measure();
  }

  HPEN thick = CreatePen(PS_SOLID, scale.scale_x(0.7), colour_value(3));
  HPEN thin = CreatePen(PS_SOLID, scale.scale_x(0.3), colour_value(3));
  HPEN clear = CreatePen(PS_SOLID, scale.scale_x(0.3), colour_value(9));
  HGDIOBJ old_pen = SelectObject(dc, clear);
  Rectangle(dc, scale.px_x(left), scale.px_y(top), scale.px_x(left + width),
            scale.px_y(top + visible_rows_ * row_height));

  std::vector<double> starts(static_cast<size_t>(columns_), 0.0);
  for (int c = 1; c < columns_; c++)
    starts[static_cast<size_t>(c)] = starts[static_cast<size_t>(c - 1)] + widest[static_cast<size_t>(c - 1)] + 5.0;

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
    SelectObject(dc, row < header_rows_ ? fonts.header : fonts.data);
    const double y_mid = top + (position + 0.5) * row_height;
    for (int c = 0; c < columns_; c++) {
      tableCellClass* shown = at(row, c);
      const char* text = shown->current_text();
      SIZE size = utf8_text_extent(dc, text, -1);
      const double start = starts[static_cast<size_t>(c)];
      const double w = widest[static_cast<size_t>(c)];
      SetTextColor(dc, colour_value(valid_colour_index(shown->state) ? shown->state : 5));
      utf8_text_out(dc, scale.px_x(left + start + (w + 4.0) / 2.0) - size.cx / 2, scale.px_y(y_mid) - size.cy / 2,
                    text, -1);
      if (record) box(row, c) = cellBox{start, position * row_height, start + w + 5.0, (position + 1) * row_height};
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
