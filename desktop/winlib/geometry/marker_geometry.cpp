#include "desktop/winlib/geometry/marker_geometry.h"

#include <algorithm>

bool triangle_marker_points(int x, int y, double size, int direction, const paper& scale, pixelPoint points[4]) {
  int ax = x + scale.x_origin;
  int ay = y + scale.y_origin;
  int base_x = ax;
  int base_y = ay;
  int across_x = 0;
  int across_y = 0;
  switch (direction) {
    case 0:  // points left: the base lies to the right
      base_x = ax + scale.scale_x(size);
      across_y = scale.scale_y(size / 3.0);
      break;
    case 1:  // points right
      base_x = ax - scale.scale_x(size);
      across_y = scale.scale_y(size / 3.0);
      break;
    case 2:  // points up: the base lies below
      base_y = ay + scale.scale_y(size);
      across_x = scale.scale_x(size / 3.0);
      break;
    case 3:  // points down
      base_y = ay - scale.scale_y(size);
      across_x = scale.scale_x(size / 3.0);
      break;
    default:
      return false;
  }
  points[0] = {ax, ay};
  points[1] = {base_x + across_x, base_y + across_y};
  points[2] = {base_x - across_x, base_y - across_y};
  points[3] = {ax, ay};
  return true;
}

int square_half_x(double half, const paper& scale) { return std::max(1, scale.scale_x(half)); }

int square_half_y(double half, const paper& scale) { return std::max(1, scale.scale_y(half)); }

bool hit_triangle_marker(int x, int y, double size, int direction, const paper& scale, int px, int py) {
  pixelPoint points[4];
  if (!triangle_marker_points(x, y, size, direction, scale, points)) return false;
  pixelRect rect{points[0].x, points[0].y, points[0].x, points[0].y};
  for (int i = 1; i < 3; ++i) {
    rect.left = std::min(rect.left, points[i].x);
    rect.top = std::min(rect.top, points[i].y);
    rect.right = std::max(rect.right, points[i].x);
    rect.bottom = std::max(rect.bottom, points[i].y);
  }
  return point_in_pixel_rect(rect, px, py);
}

bool hit_square(int x, int y, double half, const paper& scale, int px, int py) {
  int cx = x + scale.x_origin;
  int cy = y + scale.y_origin;
  int h = square_half_x(half, scale);
  int v = square_half_y(half, scale);
  return point_in_pixel_rect(pixelRect{cx - h, cy - v, cx + h, cy + v}, px, py);
}
