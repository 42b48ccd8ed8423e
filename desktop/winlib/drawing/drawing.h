// Lines, markers, arcs and rectangles, in pixels or in millimetres through a
// scale record (the operations named scaled). Pen and brush indexes are
// those of the palette (palette.h). Every routine leaves the context's pen
// and brush as it found them unless it says otherwise.
#ifndef DESKTOP_WINLIB_DRAWING_DRAWING_H
#define DESKTOP_WINLIB_DRAWING_DRAWING_H

#include <windows.h>

#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/geometry/position.h"

// A geometric dashed pen in a colour of the table; the caller deletes it.
HPEN create_dashed_pen(int colour, int width);

// A two-point line with the current pen (the end pixel is not drawn).
void draw_line(HDC dc, int x1, int y1, int x2, int y2);
void draw_line_scaled(HDC dc, const paper& scale, double x1, double y1, double x2, double y2);
// Sets the raster operation (left set), then draws the line.
void draw_line_rop(HDC dc, int x1, int y1, int x2, int y2, int rop);
void draw_line_with_pen(HDC dc, int pen_index, int x1, int y1, int x2, int y2, int rop);
void draw_line_with_given_pen(HDC dc, HPEN pen, int x1, int y1, int x2, int y2, int rop);
void draw_line_index_pen_scaled(HDC dc, double x1, double y1, double x2, double y2, const paper& scale,
                                int pen_index, int rop);
void draw_line_rop_scaled(HDC dc, double x1, double y1, double x2, double y2, const paper& scale, HPEN pen,
                          int rop);

// Markers around a pixel point (half sizes in millimetres), and the same in
// millimetres.
void draw_cross(HDC dc, int x, int y, double half, const paper& scale);
void draw_cross_scaled(HDC dc, const paper& scale, double x, double y, double half);
void draw_x_marker(HDC dc, int x, int y, double half, const paper& scale);
void draw_x_marker_scaled(HDC dc, const paper& scale, double x, double y, double half);
// The square's half side is 0.707 * size, at least one pixel each way.
void draw_square_marker(HDC dc, int x, int y, double size, const paper& scale);
void draw_square_marker_scaled(HDC dc, const paper& scale, double x, double y, double size);
// A triangle with its apex at the point (origin added), pointing left (0),
// right (1), up (2) or down (3); other directions draw nothing.
void draw_triangle_marker(HDC dc, int x, int y, double size, int direction, const paper& scale);

// The whole outline of an ellipse around a pixel centre.
void draw_arc(HDC dc, int cx, int cy, int rx, int ry);
void draw_circle_scaled(HDC dc, const paper& scale, double cx, double cy, double r);
// Filled with the selected brush.
void draw_filled_circle_scaled(HDC dc, const paper& scale, double cx, double cy, double r);
// From corner to far corner, both edges included, with a pen and a brush of
// the tables.
void draw_rectangle_scaled(HDC dc, const paper& scale, double x1, double y1, double x2, double y2, int pen_index,
                           int brush_index);

#endif
