#include "desktop/winlib/geometry/position.h"

positionClass::positionClass(double x, double y, double width, double height)
    : ref_x(x), ref_y(y), box_x(x), box_y(y), box_width(width), box_height(height) {}

void positionClass::measure(HDC, const paper&) {}

void positionClass::set_x(double value) {
  ref_x += value - box_x;
  box_x = value;
}

void positionClass::set_y(double value) {
  ref_y += value - box_y;
  box_y = value;
}

void positionClass::place_x(double reference, double box) {
  ref_x = reference;
  box_x = box;
}

void positionClass::place_y(double reference, double box) {
  ref_y = reference;
  box_y = box;
}

bool positionClass::contains(double x_mm, double y_mm) const {
  return box_x <= x_mm && x_mm <= box_x + box_width && box_y <= y_mm && y_mm <= box_y + box_height;
}

bool positionClass::contains_pixel(int px, int py, const paper& scale) const {
  pixelRect rect{scale.px_x(box_x), scale.px_y(box_y), scale.px_x(box_x + box_width),
                 scale.px_y(box_y + box_height)};
  return point_in_pixel_rect(rect, px, py);
}

bool point_in_pixel_rect(const pixelRect& rect, int x, int y) {
  return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
}
