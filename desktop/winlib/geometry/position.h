// A placed box in millimetres: the base of controls, text objects, circles
// and the graph engine. The box has its top-left corner (x, y) and its size;
// the reference point is where the box is anchored, and moving the reference
// point moves the box with it. y grows downwards.
#ifndef DESKTOP_WINLIB_GEOMETRY_POSITION_H
#define DESKTOP_WINLIB_GEOMETRY_POSITION_H

#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/platform_types.h"

class positionClass {
 public:
  // Box and reference point both at (x, y).
  explicit positionClass(double x = 0.0, double y = 0.0, double width = 0.0, double height = 0.0);
  virtual ~positionClass() = default;

  // Computes the box's extent for the scale record; placed boxes that have
  // something to measure override it, the rest do nothing.
  virtual void measure(HDC dc, const paper& scale);

  double x() const { return box_x; }
  double y() const { return box_y; }
  double width() const { return box_width; }
  double height() const { return box_height; }
  double right() const { return box_x + box_width; }
  double bottom() const { return box_y + box_height; }
  double left() const { return box_x; }
  double top() const { return box_y; }
  double extent_x() const { return box_width; }
  double extent_y() const { return box_height; }
  double reference_x() const { return ref_x; }
  double reference_y() const { return ref_y; }

  // Moves the reference point; the box keeps its offset from it.
  void move_x(double value) {
    box_x += value - ref_x;
    ref_x = value;
  }
  void move_y(double value) {
    box_y += value - ref_y;
    ref_y = value;
  }
  void move_to(double x, double y) {
    move_x(x);
    move_y(y);
  }

  // Moves the box corner to value; the reference point moves as much.
  void set_x(double value);
  void set_y(double value);
  void set_width(double value) { box_width = value; }
  void set_height(double value) { box_height = value; }
  void set_size(double width, double height) {
    box_width = width;
    box_height = height;
  }
  // Sets the reference coordinate and the box coordinate independently.
  void place_x(double reference, double box);
  void place_y(double reference, double box);

  // Inside the box, edges included; a NaN is outside.
  bool contains(double x_mm, double y_mm) const;
  // Inside the box's pixel rectangle on this scale: left and top edges
  // included, right and bottom excluded.
  bool contains_pixel(int px, int py, const paper& scale) const;

 protected:
  double ref_x;
  double ref_y;
  double box_x;
  double box_y;
  double box_width;
  double box_height;
};

// A rectangle of pixels; a point is inside when left <= x < right and
// top <= y < bottom (the platform's point-in-rectangle rule).
struct pixelRect {
  int left;
  int top;
  int right;
  int bottom;
};

bool point_in_pixel_rect(const pixelRect& rect, int x, int y);

#endif
