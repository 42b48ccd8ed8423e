#include "desktop/winlib/drawing/drawing.h"

#include <cmath>

#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/geometry/marker_geometry.h"
#include "desktop/winlib/drawing/palette.h"

HPEN create_dashed_pen(int colour, int width) {
  LOGBRUSH brush{};
  brush.lbStyle = BS_SOLID;
  brush.lbColor = colour_value(colour);
  return ExtCreatePen(PS_GEOMETRIC | PS_DASH, static_cast<DWORD>(width > 0 ? width : 1), &brush, 0, nullptr);
}

namespace {

// Pixels beyond the clip box that a line keeps, for the width of its pen.
constexpr double clip_margin = 64.0;

// Cuts the segment to the box (Liang-Barsky); false when none of it lies
// inside. A segment wholly inside is left exactly as it was.
bool clip_segment(int& x1, int& y1, int& x2, int& y2, const RECT& box) {
  const double x0 = x1, y0 = y1, dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - (box.left - clip_margin), (box.right + clip_margin) - x0, y0 - (box.top - clip_margin),
                       (box.bottom + clip_margin) - y0};
  double t0 = 0.0, t1 = 1.0;
  for (int i = 0; i < 4; i++) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0.0) {
      if (t > t0) t0 = t;
    } else if (t < t1) {
      t1 = t;
    }
  }
  if (t0 > t1) return false;
  if (t1 < 1.0) {
    x2 = static_cast<int>(std::lround(x0 + t1 * dx));
    y2 = static_cast<int>(std::lround(y0 + t1 * dy));
  }
  if (t0 > 0.0) {
    x1 = static_cast<int>(std::lround(x0 + t0 * dx));
    y1 = static_cast<int>(std::lround(y0 + t0 * dy));
  }
  return true;
}

}  // namespace

void draw_line(HDC dc, int x1, int y1, int x2, int y2) {
  // A platform draws a dashed wide pen dash by dash over the whole length,
  // seen or not: a line out to a far value (a no-value marker, a huge stored
  // value) would keep the program drawing for good. Only the part that can
  // be seen is drawn.
  RECT box{};
  int kind = GetClipBox(dc, &box);
  if (kind == NULLREGION) return;
  if (kind != ERROR && !clip_segment(x1, y1, x2, y2, box)) return;
  POINT points[2] = {{x1, y1}, {x2, y2}};
  Polyline(dc, points, 2);
}

void draw_line_scaled(HDC dc, const paper& scale, double x1, double y1, double x2, double y2) {
  draw_line(dc, scale.px_x(x1), scale.px_y(y1), scale.px_x(x2), scale.px_y(y2));
}

void draw_line_rop(HDC dc, int x1, int y1, int x2, int y2, int rop) {
  SetROP2(dc, rop);
  draw_line(dc, x1, y1, x2, y2);
}

void draw_line_with_given_pen(HDC dc, HPEN pen, int x1, int y1, int x2, int y2, int rop) {
  if (!pen) return;
  HGDIOBJ old = SelectObject(dc, pen);
  draw_line_rop(dc, x1, y1, x2, y2, rop);
  if (old) SelectObject(dc, old);
}

void draw_line_with_pen(HDC dc, int pen_index, int x1, int y1, int x2, int y2, int rop) {
  draw_line_with_given_pen(dc, table_pen(pen_index), x1, y1, x2, y2, rop);
}

void draw_line_index_pen_scaled(HDC dc, double x1, double y1, double x2, double y2, const paper& scale,
                                int pen_index, int rop) {
  draw_line_with_pen(dc, pen_index, scale.px_x(x1), scale.px_y(y1), scale.px_x(x2), scale.px_y(y2), rop);
}

void draw_line_rop_scaled(HDC dc, double x1, double y1, double x2, double y2, const paper& scale, HPEN pen,
                          int rop) {
  draw_line_with_given_pen(dc, pen, scale.px_x(x1), scale.px_y(y1), scale.px_x(x2), scale.px_y(y2), rop);
}

void draw_cross(HDC dc, int x, int y, double half, const paper& scale) {
  int h = scale.scale_x(half);
  int v = scale.scale_y(half);
  draw_line(dc, x - h, y, x + h, y);
  draw_line(dc, x, y - v, x, y + v);
}

void draw_cross_scaled(HDC dc, const paper& scale, double x, double y, double half) {
  draw_line_scaled(dc, scale, x - half, y, x + half, y);
  draw_line_scaled(dc, scale, x, y - half, x, y + half);
}

void draw_x_marker(HDC dc, int x, int y, double half, const paper& scale) {
  int h = scale.scale_x(half);
  int v = scale.scale_y(half);
  draw_line(dc, x - h + 1, y + v - 1, x + h, y - v);
  draw_line(dc, x + h - 1, y + v - 1, x - h, y - v);
}

void draw_x_marker_scaled(HDC dc, const paper& scale, double x, double y, double half) {
  draw_line_scaled(dc, scale, x - half, y + half, x + half, y - half);
  draw_line_scaled(dc, scale, x + half, y + half, x - half, y - half);
}

void draw_square_marker(HDC dc, int x, int y, double size, const paper& scale) {
  double half = 0.707 * size;
  int h = square_half_x(half, scale);
  int v = square_half_y(half, scale);
  POINT points[5] = {{x - h, y - v}, {x + h, y - v}, {x + h, y + v}, {x - h, y + v}, {x - h, y - v}};
  Polyline(dc, points, 5);
}

void draw_square_marker_scaled(HDC dc, const paper& scale, double x, double y, double size) {
  double half = 0.707 * size;
  POINT points[5] = {{scale.px_x(x - half), scale.px_y(y - half)},
                     {scale.px_x(x + half), scale.px_y(y - half)},
                     {scale.px_x(x + half), scale.px_y(y + half)},
                     {scale.px_x(x - half), scale.px_y(y + half)},
                     {scale.px_x(x - half), scale.px_y(y - half)}};
  Polyline(dc, points, 5);
}

void draw_triangle_marker(HDC dc, int x, int y, double size, int direction, const paper& scale) {
  pixelPoint corners[4];
  if (!triangle_marker_points(x, y, size, direction, scale, corners)) return;
  POINT points[4];
  for (int i = 0; i < 4; ++i) points[i] = POINT{corners[i].x, corners[i].y};
  Polyline(dc, points, 4);
}

void draw_arc(HDC dc, int cx, int cy, int rx, int ry) {
  Arc(dc, cx - rx, cy - ry, cx + rx, cy + ry, cx - rx, cy, cx - rx, cy);
}

void draw_circle_scaled(HDC dc, const paper& scale, double cx, double cy, double r) {
  draw_arc(dc, scale.px_x(cx), scale.px_y(cy), scale.scale_x(r), scale.scale_y(r));
}

void draw_filled_circle_scaled(HDC dc, const paper& scale, double cx, double cy, double r) {
  int x = scale.px_x(cx);
  int y = scale.px_y(cy);
  int rx = scale.scale_x(r);
  int ry = scale.scale_y(r);
  Ellipse(dc, x - rx, y - ry, x + rx, y + ry);
}

void draw_rectangle_scaled(HDC dc, const paper& scale, double x1, double y1, double x2, double y2, int pen_index,
                           int brush_index) {
  HPEN pen = table_pen(pen_index);
  HBRUSH brush = table_brush(brush_index);
  if (!pen || !brush) return;
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  Rectangle(dc, scale.px_x(x1), scale.px_y(y1), scale.px_x(x2) + 1, scale.px_y(y2) + 1);
  if (old_brush) SelectObject(dc, old_brush);
  if (old_pen) SelectObject(dc, old_pen);
}
