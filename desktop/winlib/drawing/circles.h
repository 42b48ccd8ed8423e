// Circles placed in millimetres. circleClass owns a pen of the colour table;
// circleClass2 draws with a pen its caller owns (none: nothing is drawn).
#ifndef DESKTOP_WINLIB_DRAWING_CIRCLES_H
#define DESKTOP_WINLIB_DRAWING_CIRCLES_H

#include <windows.h>

#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/geometry/position.h"

class circleClass : public positionClass {
 public:
  circleClass(double centre_x, double centre_y, double radius, int colour);
  ~circleClass() override;
  circleClass(const circleClass&) = delete;
  circleClass& operator=(const circleClass&) = delete;

  // The reference point goes to the centre, the box corner to centre - r;
  // the box keeps its size.
  void set_radius(double r);
  void set_colour(int colour);
  void draw(HDC dc, const paper& scale);
  void measure(HDC, const paper&) override {}

  double centre_x;
  double centre_y;
  double radius;
  HPEN pen;
};

class circleClass2 : public positionClass {
 public:
  circleClass2();

  void set(double cx, double cy, double r, HPEN given_pen);
  void set_centre(double cx, double cy, double r);
  void set_pen(HPEN given_pen) { pen = given_pen; }
  void draw(HDC dc, const paper& scale);
  void measure(HDC, const paper&) override {}

  double centre_x;
  double centre_y;
  double radius;
  HPEN pen;  // not owned
};

#endif
