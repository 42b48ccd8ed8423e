// Drawing a graph on the screen or the printer: the plot frame with its
// ticks, labels and gridlines, every shown trace, then the cross-hair and
// the two markers. Every routine leaves the context's pen, brush, font,
// raster operation and clip region as it found them.
#include "desktop/windows/graph_draw/graph_painter.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/drawing/drawing.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/messages/quiet_report.h"
#include "desktop/winlib/drawing/text_drawing.h"

namespace {

constexpr int black_pen = 5;
constexpr int grid_pen = 7;
constexpr int xhair_line_colour = 2;
constexpr int marker_line_colour = 6;
constexpr char label_format[] = "%5.1lf";
// More symbols than this on one trace are not drawn (a separation far below
// the trace's point spacing).
constexpr double symbol_limit = 100000.0;
// Pixels handed to the platform stay well inside the range its drawing
// calls take.
constexpr int pixel_limit = 1 << 26;

int gdi(int pixel) {
  if (pixel > pixel_limit) return pixel_limit;
  if (pixel < -pixel_limit) return -pixel_limit;
  return pixel;
}

// A pen width of line_width steps of 0.5 mm on this scale, at least 1 pixel.
int pen_width(int32_t line_width, const paper& scale) {
  int width = scale.px_x(line_width * 0.5);
  return width < 1 ? 1 : width;
}

SIZE text_size(HDC dc, const char* text) {
  SIZE size = utf8_text_extent(dc, text, -1);
  return size;
}

void write(HDC dc, int x, int y, const char* text) { utf8_text_out(dc, x, y, text, -1); }

void format_label(char* out, size_t size, double value) {
  // A value that prints as -0.0 is shown as 0.0.
  if (value > -0.05 && value < 0.05) value = 0.0;
  std::snprintf(out, size, label_format, value);
}

// Selects a pen, and puts the previous one and the raster operation back.
class penScope {
 public:
  penScope(HDC dc, HPEN pen, int rop) : dc_(dc), old_pen_(SelectObject(dc, pen)), old_rop_(SetROP2(dc, rop)) {}
  ~penScope() {
    if (old_pen_) SelectObject(dc_, old_pen_);
    if (old_rop_) SetROP2(dc_, old_rop_);
  }
  penScope(const penScope&) = delete;
  penScope& operator=(const penScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_pen_;
  int old_rop_;
};

// Clips the drawing of a trace to the plot of a placed graph (within the
// context's own clip region, when it has one), and puts back the context's
// region (or none).
class clipScope {
 public:
  clipScope(HDC dc, const graphClass& graph) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)) {
    had_ = saved_ && GetClipRgn(dc, saved_) == 1;
    if (!graph.placed()) return;
    HRGN clip = CreateRectRgn(graph.plot_left(), graph.plot_top(), graph.plot_right(), graph.plot_bottom());
    if (!clip) return;
    ExtSelectClipRgn(dc, clip, had_ ? RGN_AND : RGN_COPY);
    DeleteObject(clip);
  }
  ~clipScope() {
    SelectClipRgn(dc_, had_ ? saved_ : nullptr);
    if (saved_) DeleteObject(saved_);
  }
  clipScope(const clipScope&) = delete;
  clipScope& operator=(const clipScope&) = delete;

 private:
  HDC dc_;
  HRGN saved_;
  bool had_ = false;
};

// The displayed points of a trace, without a copy where its offsets and
// factors change nothing (the usual case); else in a buffer kept for the
// next paint, so that painting allocates nothing once it has painted the
// longest trace.
const xyPair* shown_points(const traceClass* trace) {
  const int32_t n = trace->get_count();
  if (n < 1) return nullptr;
  const xyPair* stored = trace->points();
  if (trace->x_offset() == 0.0 && trace->y_offset() == 0.0 && trace->x_factor == 1.0 && trace->y_factor == 1.0)
    return stored;
  thread_local std::vector<xyPair> shown;
  if (shown.size() < static_cast<size_t>(n)) shown.resize(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; i++) shown[static_cast<size_t>(i)] = xyPair{trace->x(i), trace->y(i)};
  return shown.data();
}

}  // namespace

void graphPainter::draw(HDC dc, const paper& scale) {
  if (!dc) return;
  // A message box raised here would cover the window, which repaints and
  // fails again: errors met while drawing go to the log, once.
  quietReportScope quiet;
  draw_axes(dc);
  if (g_.average_entry) g_.compute_average();
  for (r_list<tracePlusClass>::element* e = g_.entries().head(); e; e = e->next) {
    if (!e->payload) continue;
    const traceClass* trace = e->payload->active_trace();
    if (!trace->shown) continue;
    if (trace->points_only) {
      draw_trace_points(dc, trace);
    } else {
      HPEN pen = CreatePen(PS_SOLID, pen_width(trace->line_width, scale), colour_value(trace->color));
      draw_trace_line(dc, trace, pen);
      if (pen) DeleteObject(pen);
    }
    draw_symbols(dc, trace, scale);
  }
  if (g_.xhair.shown) draw_xhair(dc, scale, g_.xhair.x(), g_.xhair.y(), R2_XORPEN);
  draw_marker(dc, 0);
  draw_marker(dc, 1);
}

// ---- traces -------------------------------------------------------------------

void graphPainter::draw_trace_line(HDC dc, const traceClass* trace, HPEN pen) {
  if (!trace) return;
  draw_polyline(dc, shown_points(trace), trace->get_count(), pen ? pen : table_pen(trace->color), trace->dash_period);
}

// Solid: one polyline, recording the largest and smallest y drawn. Dashed:
// segment by segment, dash_period segments in the pen and as many in the
// plot mode's pen; fewer than two points draw nothing.
void graphPainter::draw_polyline(HDC dc, const xyPair* pairs, int32_t n, HPEN pen, int32_t dash_period) {
  g_.max_y = -1e20;
  g_.min_y = 1e20;
  if (!dc || !pairs || n <= 0 || !pen) return;
  HGDIOBJ old_pen = SelectObject(dc, pen);
  clipScope clip(dc, g_);
  if (dash_period > 0) {
    if (n >= 2) {
      HPEN gap = table_pen(g_.plot_mode());
      MoveToEx(dc, gdi(g_.x_map().to_pixel(pairs[0].x)), gdi(g_.y_map().to_pixel(pairs[0].y)), nullptr);
      int32_t counter = 1;
      bool in_gap = false;
      for (int32_t i = 1; i < n; i++) {
        if (counter == dash_period) {
          in_gap = !in_gap;
          counter = 1;
        } else {
          ++counter;
        }
        SelectObject(dc, in_gap && gap ? gap : pen);
        LineTo(dc, gdi(g_.x_map().to_pixel(pairs[i].x)), gdi(g_.y_map().to_pixel(pairs[i].y)));
      }
    }
  } else {
    thread_local std::vector<POINT> pixels;  // kept for the next paint
    if (pixels.size() < static_cast<size_t>(n)) pixels.resize(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; i++) {
      const xyPair& p = pairs[i];
      if (p.y > g_.max_y) {
        g_.max_y = p.y;
        g_.max_y_x = p.x;
      }
      if (p.y < g_.min_y) {
        g_.min_y = p.y;
        g_.min_y_x = p.x;
      }
      pixels[static_cast<size_t>(i)] = POINT{gdi(g_.x_map().to_pixel(p.x)), gdi(g_.y_map().to_pixel(p.y))};
    }
    Polyline(dc, pixels.data(), n);
  }
  if (old_pen) SelectObject(dc, old_pen);
}

void graphPainter::draw_trace_points(HDC dc, const traceClass* trace) {
  if (!dc || !trace) return;
  const xyPair* points = shown_points(trace);
  COLORREF colour = colour_value(trace->color);
  {
    clipScope clip(dc, g_);
    for (int32_t i = 0; i < trace->get_count(); i++) {
      SetPixel(dc, gdi(g_.x_map().to_pixel(points[i].x)), gdi(g_.y_map().to_pixel(points[i].y)), colour);
    }
  }
}

// Symbols every separation along x, from a start at 0 or up to four
// separations before it, looked up at the nearest point. A separation that
// is not above 0, or more symbols than symbol_limit, draws none.
void graphPainter::draw_symbols(HDC dc, const traceClass* trace, const paper& scale) {
  if (!dc || !trace || trace->symbol == symbol_none) return;
  int32_t count = trace->get_count();
  double step = trace->symbol_separation;
  if (count <= 0) return;
  if (!(step > 0.0)) {
    report_error("*** graphPainter::draw_symbols - SYMBOL SEPARATION %lg IS NOT ABOVE 0 ***", step);
    return;
  }
  double first = trace->x_at(0);
  double last = trace->x_at(count - 1);
  double start = 0.0;
  for (int k = 1; k <= 4 && !(-k * step < first); k++) start = -k * step;
  double symbols = (last - start) / step;
  if (!(symbols < symbol_limit)) {
    report_error("*** graphPainter::draw_symbols - TOO MANY SYMBOLS (%lg) ***", symbols);
    return;
  }
  double factor = printing_flag ? 1.2 : 1.0;
  HPEN pen = CreatePen(PS_SOLID, pen_width(trace->line_width, scale), colour_value(trace->symbol_color));
  if (!pen) return;
  HGDIOBJ old_pen = SelectObject(dc, pen);
  int old_rop = GetROP2(dc);
  {
    clipScope clip(dc, g_);
    for (int32_t k = 0;; k++) {
      double t = start + k * step;
      if (!(t <= last)) break;
      int32_t i = trace->nearest_index(t);
      if (i >= count) break;
      if (i >= 0) draw_symbol(dc, scale, trace->symbol, trace->x(i), trace->y(i), factor, trace->symbol_size, pen);
    }
  }
  SetROP2(dc, old_rop);
  if (old_pen) SelectObject(dc, old_pen);
  DeleteObject(pen);
}

void graphPainter::draw_symbol(HDC dc, const paper& scale, int32_t symbol, double x, double y, double size_factor,
                               double symbol_size, HPEN pen) {
  double xp = g_.page_x(x, scale);
  double yp = g_.page_y(y, scale);
  double h = size_factor * symbol_size / 2.0;
  auto line = [&](double x0, double y0, double x1, double y1) {
    draw_line_rop_scaled(dc, x0, y0, x1, y1, scale, pen, R2_COPYPEN);
  };
  switch (symbol) {
    case symbol_plus:
      line(xp - h, yp, xp + h, yp);
      line(xp, yp - h, xp, yp + h);
      break;
    case symbol_diamond: {
      double hx = scale.x_px_per_mm != 0.0 ? (scale.px_y(h) - scale.x_origin) / scale.x_px_per_mm : 0.0;
      line(xp - hx, yp, xp, yp - h);
      line(xp, yp - h, xp + hx, yp);
      line(xp + hx, yp, xp, yp + h);
      line(xp, yp + h, xp - hx, yp);
      break;
    }
    case symbol_square:
      line(xp - h, yp - h, xp + h, yp - h);
      line(xp + h, yp - h, xp + h, yp + h);
      line(xp + h, yp + h, xp - h, yp + h);
      line(xp - h, yp + h, xp - h, yp - h);
      break;
    case symbol_circle: {
      penScope scope(dc, pen, R2_COPYPEN);
      draw_arc(dc, scale.px_x(xp), scale.px_y(yp), scale.px_x(h), scale.px_y(h));
      break;
    }
    default:
      break;
  }
}

// ---- frame, ticks and labels ------------------------------------------------------

void graphPainter::draw_axes(HDC dc) {
  if (!dc) return;
  int h = g_.plot_bottom() - g_.plot_top();
  int major = h / 25;
  int minor = h / 40;
  HBRUSH brush = table_brush(g_.plot_mode());
  HGDIOBJ old_brush = brush ? SelectObject(dc, brush) : nullptr;
  HGDIOBJ old_pen = SelectObject(dc, table_pen(black_pen));
  int old_rop = SetROP2(dc, R2_COPYPEN);
  Rectangle(dc, g_.plot_left(), g_.plot_top(), g_.plot_right(), g_.plot_bottom());

  const paper& page = printing_flag ? printer_paper : screen_paper;
  HFONT font = nullptr;
  if (page.x_px_per_mm > 0.0) {
    double f = (h / 20 - page.x_origin) / page.x_px_per_mm;
    if (f > 4.0) f = 4.0;
    font = make_font(page.px_x(f), page.px_y(f / 2.0), 400, "Arial", 0);
  }
  HGDIOBJ old_font = font ? SelectObject(dc, font) : nullptr;
  int old_mode = SetBkMode(dc, TRANSPARENT);
  char label[64];

  // y axis: ticks and labels right of the left edge.
  SIZE first_column = text_size(dc, "0.000");
  int hl = first_column.cy;
  int w = first_column.cx;
  axisTickPlan y_plan = plan_axis_ticks(g_.y_map(), hl, true);
  for (const axisTick& tick : y_plan.ticks) {
    int y = gdi(tick.pixel);
    format_label(label, sizeof label, tick.value);
    bool fits = y - hl / 2 > g_.plot_top() && y + hl / 2 + 2 * hl < g_.plot_bottom();
    if (tick.major) {
      w = text_size(dc, label).cx;
      draw_line_with_pen(dc, black_pen, g_.plot_left(), y, g_.plot_left() + major, y, R2_COPYPEN);
      if (g_.y_major_grid)
        draw_line_with_pen(dc, grid_pen, g_.plot_left() + 2 + w + major, y, g_.plot_right(), y, R2_COPYPEN);
      if (fits) write(dc, g_.plot_left() + major + 2, y - hl / 2, label);
    } else {
      draw_line_with_pen(dc, black_pen, g_.plot_left(), y, g_.plot_left() + minor, y, R2_COPYPEN);
      if (g_.y_minor_grid)
        draw_line_with_pen(dc, grid_pen, g_.plot_left() + 2 + w + major, y, g_.plot_right(), y, R2_COPYPEN);
      if (tick.labelled && fits) write(dc, g_.plot_left() + 2 + minor, y - hl / 2, label);
    }
  }

  // x axis: ticks up from the bottom edge, labels centred above them, none
  // overlapping the previous major label.
  axisTickPlan x_plan = plan_axis_ticks(g_.x_map(), text_size(dc, "000.0").cx, false);
  int previous_right = INT_MIN;
  for (const axisTick& tick : x_plan.ticks) {
    int x = gdi(tick.pixel);
    format_label(label, sizeof label, tick.value);
    int width = text_size(dc, label).cx;
    int label_left = x - width / 2;
    bool fits = label_left > g_.plot_left() && label_left < g_.plot_right() && label_left > previous_right;
    if (tick.major) {
      draw_line_with_pen(dc, black_pen, x, g_.plot_bottom() - 1, x, g_.plot_bottom() - major - 1, R2_COPYPEN);
      if (g_.x_major_grid)
        draw_line_with_pen(dc, grid_pen, x, g_.plot_bottom() - hl - 1 - major, x, g_.plot_top(), R2_COPYPEN);
      if (fits) {
        write(dc, label_left, g_.plot_bottom() - major - hl, label);
        previous_right = label_left + width;
      }
    } else {
      draw_line_with_pen(dc, black_pen, x, g_.plot_bottom() - 1, x, g_.plot_bottom() - 1 - minor, R2_COPYPEN);
      if (g_.x_minor_grid)
        draw_line_with_pen(dc, grid_pen, x, g_.plot_bottom() - hl - 1 - major, x, g_.plot_top(), R2_COPYPEN);
      if (tick.labelled && fits) write(dc, label_left, g_.plot_bottom() - minor - hl, label);
    }
  }

  SetBkMode(dc, old_mode);
  if (old_font) SelectObject(dc, old_font);
  if (font) DeleteObject(font);
  SetROP2(dc, old_rop);
  if (old_pen) SelectObject(dc, old_pen);
  if (old_brush) SelectObject(dc, old_brush);
}

// ---- cross-hair and markers --------------------------------------------------------

void graphPainter::draw_xhair(HDC dc, const paper& scale, double x, double y, int rop) {
  if (!g_.xhair.shown) return;
  paint_xhair(dc, scale, x, y, rop);
}

void graphPainter::paint_xhair(HDC dc, const paper& scale, double x, double y, int rop) {
  if (!dc) return;
  g_.xhair.set_point(x, y);
  g_.xhair.pen_index = g_.plot_mode();
  g_.xhair.size = 3;
  int px = gdi(g_.x_map().to_pixel(x));
  int py = gdi(g_.y_map().to_pixel(y));
  {
    penScope scope(dc, table_pen(g_.plot_mode()), rop);
    draw_x_marker(dc, px, py, 3.0, scale);
  }
  HPEN dashed = create_dashed_pen(xhair_line_colour, printing_flag ? 3 : 1);
  if (!dashed) return;
  {
    penScope scope(dc, dashed, rop);
    ::draw_line(dc, gdi(g_.x_map().to_pixel(g_.x_map().data_start())), py,
                gdi(g_.x_map().to_pixel(g_.x_map().data_end())), py);
    ::draw_line(dc, px, gdi(g_.y_map().to_pixel(g_.y_map().data_start())), px,
                gdi(g_.y_map().to_pixel(g_.y_map().data_end())));
  }
  DeleteObject(dashed);
}

void graphPainter::set_xhair_at_pixel(HDC dc, const paper& scale, int px, int py, int rop) {
  double x = 0.0;
  double y = 0.0;
  g_.pixel_to_data(px, py, &x, &y);
  paint_xhair(dc, scale, x, y, rop);
}

// Moves the cross-hair one pixel's worth of data while its pixel lies
// strictly inside the frame on that side; at the edge it is hidden.
void graphPainter::move_xhair(HDC dc, const paper& scale, int dx, int dy) {
  double x = g_.xhair.x();
  double y = g_.xhair.y();
  int px = g_.x_map().to_pixel(x);
  int py = g_.y_map().to_pixel(y);
  bool inside = (dx < 0 && px > g_.plot_left()) || (dx > 0 && px < g_.plot_right()) || (dy < 0 && py > g_.plot_top()) ||
                (dy > 0 && py < g_.plot_bottom());
  if (!inside) {
    g_.xhair.hide();
    return;
  }
  double step_x = g_.x_map().data_per_pixel();
  double step_y = g_.y_map().data_per_pixel();
  if (step_x < 0) step_x = -step_x;
  if (step_y < 0) step_y = -step_y;
  x += dx * step_x;
  y -= dy * step_y;  // dy counts pixels downwards; y grows upwards
  draw_xhair(dc, scale, x, y, R2_XORPEN);
}

void graphPainter::xhair_left(HDC dc, const paper& scale) { move_xhair(dc, scale, -1, 0); }
void graphPainter::xhair_right(HDC dc, const paper& scale) { move_xhair(dc, scale, 1, 0); }
void graphPainter::xhair_up(HDC dc, const paper& scale) { move_xhair(dc, scale, 0, -1); }
void graphPainter::xhair_down(HDC dc, const paper& scale) { move_xhair(dc, scale, 0, 1); }

void graphPainter::draw_marker(HDC dc, int index) {
  graphMarker* m = g_.marker(index);
  if (!dc || !m || !m->set || !m->shown) return;
  HPEN dashed = create_dashed_pen(marker_line_colour, printing_flag ? 3 : 1);
  if (!dashed) return;
  COLORREF old_background = SetBkColor(dc, 0);
  {
    penScope scope(dc, dashed, R2_XORPEN);
    int px = gdi(g_.x_map().to_pixel(m->x()));
    int py = gdi(g_.y_map().to_pixel(m->y()));
    double d = (g_.x_map().data_end() - g_.x_map().data_start()) / 20.0;
    ::draw_line(dc, px, gdi(g_.y_map().to_pixel(g_.y_map().data_start())), px,
                gdi(g_.y_map().to_pixel(g_.y_map().data_end())));
    ::draw_line(dc, gdi(g_.x_map().to_pixel(m->x() - d)), py, gdi(g_.x_map().to_pixel(m->x() + d)), py);
  }
  SetBkColor(dc, old_background);
  DeleteObject(dashed);
}

// ---- line, point and text helpers ------------------------------------------------------

void graphPainter::draw_line_px(HDC dc, int pen_index, int x0, int y0, int x1, int y1, int rop, HPEN pen) {
  HPEN use = pen ? pen : table_pen(pen_index);
  if (!dc || !use) return;
  penScope scope(dc, use, rop);
  ::draw_line(dc, x0, y0, x1, y1);
}

void graphPainter::draw_line(HDC dc, int pen_index, double x0, double y0, double x1, double y1, int rop, HPEN pen) {
  draw_line_px(dc, pen_index, gdi(g_.x_map().to_pixel(x0)), gdi(g_.y_map().to_pixel(y0)), gdi(g_.x_map().to_pixel(x1)),
               gdi(g_.y_map().to_pixel(y1)), rop, pen);
}

void graphPainter::draw_hline(HDC dc, int pen_index, double y, int rop, HPEN pen) {
  draw_line(dc, pen_index, g_.x_map().data_start(), y, g_.x_map().data_end(), y, rop, pen);
}

void graphPainter::draw_cross(HDC dc, double x, double y, int pen_index, int n, int rop) {
  int px = gdi(g_.x_map().to_pixel(x));
  int py = gdi(g_.y_map().to_pixel(y));
  draw_line_px(dc, pen_index, px - n, py, px + n, py, rop);
  draw_line_px(dc, pen_index, px, py - n, px, py + n, rop);
}

void graphPainter::draw_circle(HDC dc, const paper& scale, int pen_index, double x, double y, double radius) {
  HPEN pen = table_pen(pen_index);
  if (!dc || !pen) return;
  penScope scope(dc, pen, R2_COPYPEN);
  draw_arc(dc, gdi(g_.x_map().to_pixel(x)), gdi(g_.y_map().to_pixel(y)), scale.scale_x(radius), scale.scale_y(radius));
}

void graphPainter::draw_point(HDC dc, double x, double y, int colour_index) {
  if (!dc) return;
  SetPixel(dc, gdi(g_.x_map().to_pixel(x)), gdi(g_.y_map().to_pixel(y)), colour_value(colour_index));
}

void graphPainter::text_at_pixel(HDC dc, HFONT font, int colour_index, int px, int py, const char* text) {
  if (!dc || !text) return;
  HGDIOBJ old_font = font ? SelectObject(dc, font) : nullptr;
  COLORREF old_colour = SetTextColor(dc, colour_value(colour_index));
  int old_mode = SetBkMode(dc, TRANSPARENT);
  write(dc, px, py, text);
  SetBkMode(dc, old_mode);
  SetTextColor(dc, old_colour);
  if (old_font) SelectObject(dc, old_font);
}

void graphPainter::draw_text(HDC dc, HFONT font, int colour_index, int dx, int dy, const char* text) {
  text_at_pixel(dc, font, colour_index, g_.plot_left() + dx, g_.plot_top() + dy, text);
}

void graphPainter::draw_text_at(HDC dc, HFONT font, int colour_index, double x, double y, const char* text) {
  text_at_pixel(dc, font, colour_index, gdi(g_.x_map().to_pixel(x)), gdi(g_.y_map().to_pixel(y)), text);
}
