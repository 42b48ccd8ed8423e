// graphPainter: draws a graph (graph.h) on the screen or the printer, and
// moves its cross-hair by pixels. It holds the graph it was made on and
// keeps in it what drawing finds (the cross-hair's point, the extremes of
// the last solid line); make one where it draws: graphPainter(graph).draw().
#ifndef DESKTOP_WINDOWS_GRAPH_DRAW_GRAPH_PAINTER_H
#define DESKTOP_WINDOWS_GRAPH_DRAW_GRAPH_PAINTER_H

#include <windows.h>

#include <cstdint>

#include "desktop/data/graph/graph.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/data/trace.h"

class graphPainter {
 public:
  explicit graphPainter(graphClass& graph) : g_(graph) {}

  // The frame, the shown traces, the cross-hair and the markers. Failures
  // while drawing are logged once, not shown (a message box would repaint
  // the window and fail again).
  void draw(HDC dc, const paper& scale);
  void draw_axes(HDC dc);
  void draw_trace_line(HDC dc, const traceClass* trace, HPEN pen);
  void draw_polyline(HDC dc, const xyPair* pairs, int32_t n, HPEN pen, int32_t dash_period);
  void draw_trace_points(HDC dc, const traceClass* trace);
  void draw_symbols(HDC dc, const traceClass* trace, const paper& scale);
  void draw_symbol(HDC dc, const paper& scale, int32_t symbol, double x, double y, double size_factor,
                   double symbol_size, HPEN pen);

  // The cross-hair: an X at the point and dashed lines across the plot.
  void draw_xhair(HDC dc, const paper& scale, double x, double y, int rop);
  void set_xhair_at_pixel(HDC dc, const paper& scale, int px, int py, int rop);
  void xhair_left(HDC dc, const paper& scale);
  void xhair_right(HDC dc, const paper& scale);
  void xhair_up(HDC dc, const paper& scale);
  void xhair_down(HDC dc, const paper& scale);
  // Marker 0 or 1, when set and shown (XOR: drawing it again erases it).
  void draw_marker(HDC dc, int index);

  // Line helpers: one segment in data units (or pixels) with pen or the
  // pen of pen_index, restoring the pen and raster mode.
  void draw_line(HDC dc, int pen_index, double x0, double y0, double x1, double y1, int rop, HPEN pen = nullptr);
  void draw_line_px(HDC dc, int pen_index, int x0, int y0, int x1, int y1, int rop, HPEN pen = nullptr);
  // Across the whole x data range at y.
  void draw_hline(HDC dc, int pen_index, double y, int rop, HPEN pen = nullptr);
  // A cross of +-n pixels.
  void draw_cross(HDC dc, double x, double y, int pen_index, int n, int rop);
  // An ellipse of radius page units (scaled separately in x and y).
  void draw_circle(HDC dc, const paper& scale, int pen_index, double x, double y, double radius);
  void draw_point(HDC dc, double x, double y, int colour_index);
  // Text with a transparent background at the plot's left and top plus
  // (dx, dy) pixels, or at a data point.
  void draw_text(HDC dc, HFONT font, int colour_index, int dx, int dy, const char* text);
  void draw_text_at(HDC dc, HFONT font, int colour_index, double x, double y, const char* text);

 private:
  // The data point of the cross-hair moved by one pixel, drawn or hidden.
  void move_xhair(HDC dc, const paper& scale, int dx, int dy);
  // The cross-hair drawn at (x, y) whether shown or not.
  void paint_xhair(HDC dc, const paper& scale, double x, double y, int rop);
  void text_at_pixel(HDC dc, HFONT font, int colour_index, int px, int py, const char* text);

  graphClass& g_;
};

#endif
