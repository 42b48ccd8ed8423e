#include "desktop/winlib/drawing/circles.h"

#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/drawing/drawing.h"

circleClass::circleClass(double cx, double cy, double r, int colour)
    : positionClass(cx - r, cy - r, 2.0 * r, 2.0 * r), centre_x(cx), centre_y(cy), radius(r), pen(nullptr) {
  place_x(cx, cx - r);
  place_y(cy, cy - r);
  pen = CreatePen(PS_SOLID, 1, colour_value(colour));
}

circleClass::~circleClass() {
  if (pen) DeleteObject(pen);
}

void circleClass::set_radius(double r) {
  radius = r;
  place_x(centre_x, centre_x - r);
  place_y(centre_y, centre_y - r);
}

void circleClass::set_colour(int colour) {
  if (pen) DeleteObject(pen);
  pen = CreatePen(PS_SOLID, 1, colour_value(colour));
}

namespace {

void draw_outline(HDC dc, const paper& scale, HPEN pen, double cx, double cy, double r) {
  if (!pen) return;
  HGDIOBJ old = SelectObject(dc, pen);
  draw_arc(dc, scale.px_x(cx), scale.px_y(cy), scale.scale_x(r), scale.scale_y(r));
  if (old) SelectObject(dc, old);
}

}  // namespace

void circleClass::draw(HDC dc, const paper& scale) { draw_outline(dc, scale, pen, centre_x, centre_y, radius); }

circleClass2::circleClass2() : positionClass(5.0, 5.0, 5.0, 5.0), centre_x(0.0), centre_y(0.0), radius(0.0), pen(nullptr) {}

void circleClass2::set(double cx, double cy, double r, HPEN given_pen) {
  set_centre(cx, cy, r);
  pen = given_pen;
}

void circleClass2::set_centre(double cx, double cy, double r) {
  centre_x = cx;
  centre_y = cy;
  radius = r;
  place_x(cx, cx - r);
  place_y(cy, cy - r);
  set_size(2.0 * r, 2.0 * r);
}

void circleClass2::draw(HDC dc, const paper& scale) { draw_outline(dc, scale, pen, centre_x, centre_y, radius); }
