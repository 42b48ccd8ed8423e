// Where the markers lie in pixels, and the hit tests on them.
#ifndef DESKTOP_WINLIB_GEOMETRY_MARKER_GEOMETRY_H
#define DESKTOP_WINLIB_GEOMETRY_MARKER_GEOMETRY_H

#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/geometry/position.h"

// The four points of the closed outline of a triangle marker: the apex at
// (x + x origin, y + y origin), the long leg L = int(size * px/mm) along the
// pointing axis and the half base B = int(size / 3 * px/mm) across it.
// False for a direction other than 0 (left), 1 (right), 2 (up), 3 (down).
struct pixelPoint {
  int x;
  int y;
};
bool triangle_marker_points(int x, int y, double size, int direction, const paper& scale, pixelPoint points[4]);

// The half side of a square marker in pixels each way: int(half * px/mm),
// at least 1.
int square_half_x(double half, const paper& scale);
int square_half_y(double half, const paper& scale);

// The point against the bounding rectangle of the triangle marker (false for
// an unknown direction), and against the square of half size half mm around
// (x + x origin, y + y origin).
bool hit_triangle_marker(int x, int y, double size, int direction, const paper& scale, int px, int py);
bool hit_square(int x, int y, double half, const paper& scale, int px, int py);

#endif
