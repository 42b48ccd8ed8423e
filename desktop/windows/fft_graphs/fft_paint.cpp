// The page of a spectrum window, on the screen or the printer: the framed
// plot with its grid, labels and one bar per bin.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "desktop/winlib/messages/date_time_text.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/windows/fft_graphs/fft_window.h"
#include "desktop/winlib/drawing/text_drawing.h"

namespace {

constexpr int black_index = 5;
constexpr int grid_pen_index = 17;  // dashed grey
constexpr int green_index = 2;
constexpr int red_index = 0;
constexpr int white_index = 9;

void text_at(HDC dc, int x, int y, const std::string& text) {
  utf8_text_out(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

SIZE text_size(HDC dc, const std::string& text) {
  SIZE size = utf8_text_extent(dc, text.c_str(), static_cast<int>(text.size()));
  return size;
}

void fill(HDC dc, int left, int top, int right, int bottom, int brush_index) {
  RECT r{left, top, right, bottom};
  if (HBRUSH brush = table_brush(brush_index)) FillRect(dc, &r, brush);
}

}  // namespace

void fftClass::draw(HDC dc, const paper& scale) {
  if (!dc || !spectrum_) return;
  const bool printing = printing_flag != 0;
  const spectrumData& data = *spectrum_;

  fill(dc, scale.px_x(0.0), scale.px_y(0.0), truncate_to_int(scale.width_px) + scale.x_origin,
       truncate_to_int(scale.height_px) + scale.y_origin, white_index);
  plotRect plot;
  plot.left = scale.px_x(1.0);
  plot.right = scale.px_x(scale.width_mm - 8.0);
  plot.top = scale.px_y(5.0);
  plot.bottom = scale.px_y(scale.height_mm - 10.0);
  plot.margin = scale.scale_x(1.0);
  fill(dc, plot.left, plot.top, plot.right, plot.bottom, white_index);
  RECT frame{plot.left, plot.top, plot.right, plot.bottom};
  if (!printing) FrameRect(dc, &frame, table_brush(black_index));

  spectrumScale s = spectrum_scale(data, plot, linear_ != 0, range_400_ != 0);
  if (!printing) {
    plot_ = plot;
    scale_ = s;
  }

  HFONT font = make_font_scaled(scale, 4.0, 2.0, 700, "Arial", 0.0, 0);
  HGDIOBJ old_font = font ? SelectObject(dc, font) : nullptr;
  int old_mode = SetBkMode(dc, TRANSPARENT);
  COLORREF old_colour = SetTextColor(dc, RGB(0, 0, 0));
  HGDIOBJ old_pen = SelectObject(dc, table_pen(black_index));
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, plot.left, plot.top, plot.right, plot.bottom);

  const int centre = (plot.left + plot.right) / 2;
  std::string title = spectrum_title_text(caption_.c_str());
  SIZE title_size = text_size(dc, title);
  text_at(dc, centre - title_size.cx / 2, plot.top - scale.scale_y(0.5) - title_size.cy, title);
  text_at(dc, centre - scale.scale_x(5.0), plot.bottom + scale.scale_y(4.0), "Frequency (Hz)");

  if (printing) {
    HFONT small = make_font_scaled(scale, 3.0, 1.5, 400, "Arial", 0.0, 0);
    if (small) SelectObject(dc, small);
    if (font) DeleteObject(font);
    font = small;
    local_time_stamp now = current_local_time();
    char date[64];
    std::snprintf(date, sizeof date, "%.2d %s %d  %.2d:%.2d:%.2d", now.day, month_name(now.month), now.year,
                  now.hour, now.minute, now.second);
    SIZE size = text_size(dc, date);
    text_at(dc, truncate_to_int(scale.width_px) + scale.x_origin - 5 - size.cx,
            truncate_to_int(scale.height_px) + scale.y_origin - 1 - size.cy, date);
  }

  SelectObject(dc, table_pen(grid_pen_index));
  for (const gridLine& line : spectrum_level_grid(plot, linear_ != 0)) {
    MoveToEx(dc, plot.left, line.position, nullptr);
    LineTo(dc, plot.right, line.position);
    text_at(dc, plot.right + scale.scale_x(1.0), line.position - text_size(dc, line.label).cy / 2, line.label);
  }
  std::string unit = linear_ ? "%" : "DB";
  text_at(dc, plot.right + scale.scale_x(2.0), (plot.top + plot.bottom) / 2 - text_size(dc, unit).cy / 2, unit);
  for (const gridLine& line : spectrum_frequency_grid(plot, s)) {
    if (line.position > plot.right) break;
    MoveToEx(dc, line.position, plot.top, nullptr);
    LineTo(dc, line.position, plot.bottom);
    text_at(dc, line.position - text_size(dc, line.label).cx / 2, plot.bottom + scale.scale_y(0.5), line.label);
  }

  // The last bar may reach past the frame: it is cut there.
  for (const spectrumBar& bar : spectrum_bars(data, plot, s, bands))
    if (bar.x0 < plot.right)
      fill(dc, bar.x0, bar.top, std::min(bar.x1, plot.right), bar.bottom, bar.in_band ? green_index : red_index);

  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
  if (old_font) SelectObject(dc, old_font);
  if (font) DeleteObject(font);
}
